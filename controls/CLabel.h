// A transparent line of text on the skin background: the caption and the LABELINFO labels.
#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

#include "SkinAccessible.h"
#include "platform/Colour.h"

class SkinHost;

class CLabel : public QWidget, public SkinAccessibleControl {
    Q_OBJECT
public:
    CLabel(SkinHost* host, QWidget* parent, const QRect& rect);

    QString name;
    int index = 0;

    // The caller repaints.
    void SetText(const QString& text);
    QString Text() const { return m_text; }
    void SetFontName(const QString& face);
    void SetFontSize(int points);
    void SetTextColor(platform::Colour colour) { m_textColour = colour; }
    platform::Colour TextColour() const { return m_textColour; }
    void SetBold(bool on);
    void SetItalic(bool on);
    void SetUnderline(bool on);
    const QFont& Font() const { return m_font; }

    QAccessible::Role AccessibleRole() const override { return QAccessible::StaticText; }
    QString AccessibleFallbackName() const override { return m_text.isEmpty() ? name : m_text; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    SkinHost* m_host;
    QString m_text;
    QFont m_font;
    platform::Colour m_textColour = 0xFFFFFF;
    QImage m_backgroundCopy;  // the window background under the label, taken once
};
