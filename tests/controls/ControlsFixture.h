// Shared pieces of the control tests: a window that records what its controls report, mouse
// input sent through the window the way the platform sends it, and pixel reading.
#pragma once

#include <QPainter>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "SkinBuilder.h"
#include "controls/SkinHost.h"

#include <ostream>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// Stands in for the skinned window: paints its background picture and logs every report.
class FakeSkinHost : public QWidget, public SkinHost {
public:
    explicit FakeSkinHost(QSize size = {200, 150}, QColor colour = QColor(0, 0, 160))
        : background(SolidImage(size.width(), size.height(), colour)) {
        resize(size);
        setMouseTracking(true);
    }

    QStringList calls;
    QImage background;
    SkinComboBox* combo = nullptr;
    int repaintRequests = 0;

    void OnSkinButtonClick(int index) override { calls << QStringLiteral("button %1").arg(index); }
    void OnSkinOptionClick(int index) override { calls << QStringLiteral("option %1").arg(index); }
    void OnSkinCheckClick(int index) override { calls << QStringLiteral("check %1").arg(index); }
    void OnSkinSliderMove(int index, int position) override {
        calls << QStringLiteral("slider %1 %2").arg(index).arg(position);
    }
    const QImage& BackgroundCopy() const override { return background; }
    SkinComboBox* FirstComboBox() override { return combo; }
    void RepaintOptionsAndModeLabel() override { ++repaintRequests; }

    // Shows the window and waits until it can take input.
    bool ShowAndActivate() {
        show();
        if (!QTest::qWaitForWindowExposed(this)) return false;
        activateWindow();
        return QTest::qWaitForWindowActive(this);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, background); }
};

// Mouse input through the top-level window, so that Qt picks the receiver, grabs the mouse
// on a press and sends enter and leave events as it does for real input.
namespace pointer {
inline QWindow* Window(QWidget* w) { return w->window()->windowHandle(); }
inline QPoint At(QWidget* w, QPoint p) { return w->mapTo(w->window(), p); }
inline void Move(QWidget* w, QPoint p) { QTest::mouseMove(Window(w), At(w, p)); }
inline void Press(QWidget* w, QPoint p) {
    Move(w, p);
    QTest::mousePress(Window(w), Qt::LeftButton, {}, At(w, p));
}
inline void Release(QWidget* w, QPoint p) {
    QTest::mouseRelease(Window(w), Qt::LeftButton, {}, At(w, p));
}
inline void Click(QWidget* w, QPoint p) {
    Press(w, p);
    Release(w, p);
}
}  // namespace pointer

// What the window shows, as opaque pixels.
inline QImage Shot(QWidget& window) {
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}
inline QRgb PixelAt(QWidget& window, QPoint p) { return Shot(window).pixel(p) & 0xFFFFFF; }
inline QRgb Rgb(QColor c) { return c.rgb() & 0xFFFFFF; }

// Writes pictures into a temporary folder and gives their paths.
class Pictures {
public:
    QString Add(const std::string& name, const QImage& image) {
        SkinBuilder().Image(name, image).WriteFolder(m_dir.path());
        return m_dir.filePath(QString::fromStdString(name));
    }
    QString Missing() const { return m_dir.filePath(QStringLiteral("missing.bmp")); }

private:
    QTemporaryDir m_dir;
};
