// A single-line edit field in skin colours with a one-pixel frame.
#pragma once

#include <QLineEdit>

#include "platform/Colour.h"

class SkinEditBox : public QLineEdit {
    Q_OBJECT
public:
    SkinEditBox(QWidget* parent, const QRect& rect);

    QString name;
    int index = 0;

    void SetBackColor(platform::Colour colour);
    void SetTextColor(platform::Colour colour);
    void SetFrameColor(platform::Colour colour);
    platform::Colour BackColour() const { return m_backColour; }
    platform::Colour TextColour() const { return m_textColour; }
    platform::Colour FrameColour() const { return m_frameColour; }

protected:
    SkinEditBox(QWidget* parent, const QRect& rect, platform::Colour back,
                platform::Colour text, platform::Colour frame);
    void paintEvent(QPaintEvent*) override;

private:
    void ApplyColours();
    platform::Colour m_textColour;
    platform::Colour m_backColour;
    platform::Colour m_frameColour;
};

// The text part of a skin combo box: the same box with black defaults.
class SkinComboEdit : public SkinEditBox {
    Q_OBJECT
public:
    SkinComboEdit(QWidget* parent, const QRect& rect);
};
