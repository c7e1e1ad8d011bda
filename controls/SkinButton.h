// A push button drawn entirely from a four-cell image strip of the skin.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include "platform/Colour.h"

class SkinHost;

class SkinButton : public QWidget {
    Q_OBJECT
public:
    enum class State { Normal, Hover, Pressed, Disabled };

    SkinButton(SkinHost* host, QWidget* parent, const QRect& rect);

    bool isChecked = false;
    bool toggle = false;
    QString name;
    int index = 0;
    platform::Colour transparentColor = 0;

    // Cuts the strip at path into its four cells, each scaled once to the size of rect.
    void LoadImages(const QString& path, const QRect& rect);
    void SetToolTipText(const QString& text, bool activate);
    void ActivateToolTip(bool on);
    void SetChecked(bool value);
    bool IsHover() const { return m_hover; }
    State CurrentState() const;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    // The variants differ only here.
    virtual void OnClicked();
    virtual bool TracksHoverWhileChecked() const { return true; }

    SkinHost* m_host;

private:
    QImage m_cells[4];  // Normal, Hover, Pressed, Disabled, keyed and scaled
    bool m_hover = false;
    bool m_pressed = false;
    QString m_toolTip;
};

class SkinCheckButton : public SkinButton {
    Q_OBJECT
public:
    using SkinButton::SkinButton;

protected:
    void OnClicked() override;
    bool TracksHoverWhileChecked() const override { return false; }
};

class SkinOptionButton : public SkinButton {
    Q_OBJECT
public:
    using SkinButton::SkinButton;

protected:
    void OnClicked() override;
    bool TracksHoverWhileChecked() const override { return false; }
};

class SkinComboButton : public SkinButton {
    Q_OBJECT
public:
    using SkinButton::SkinButton;

protected:
    void OnClicked() override;
};
