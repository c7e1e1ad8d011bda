// "Camera Controls": every picture setting the chosen camera's driver offers, under the
// driver's own names, grouped by class. A change goes to the device at once, also while
// previewing or recording; after each one the dialog reads every control again, since one
// control may turn another on or off (auto exposure and the exposure time).
#pragma once

#include <QDialog>
#include <QString>

#include <optional>
#include <vector>

#include "platform/CameraControls.h"

class QLabel;
class QScrollArea;
class QVBoxLayout;
class QWidget;

class CCameraControlsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCameraControlsDlg(QWidget* parent = nullptr);
    ~CCameraControlsDlg() override;

    // Shows the controls of the device at `node` (named `deviceName`); an empty node is a
    // device without any (the test pattern, the screen), which the dialog says.
    void ShowFor(const QString& node, const QString& deviceName);

    // What the dialog last reported: a refusal, or why there is nothing to set.
    QString Message() const;
    // The controls as last read from the device.
    const std::vector<platform::CameraControl>& Controls() const { return m_controls; }

    // Sets a control as its widget would, then reads all of them again.
    void Apply(const platform::CameraControl& control, int64_t value);
    void ResetAll();

private:
    // The control as last read, by its id; nullptr when the driver no longer reports it.
    const platform::CameraControl* Find(uint32_t id) const;
    void Rebuild();
    void Refresh();
    void Report(const QString& text);
    QWidget* MakeEditor(const platform::CameraControl& control);
    void UpdateEditor(const platform::CameraControl& control);

    std::optional<platform::CameraDevice> m_device;
    std::vector<platform::CameraControl> m_controls;
    QLabel* m_title = nullptr;
    QLabel* m_message = nullptr;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_body = nullptr;
    QVBoxLayout* m_groups = nullptr;
    QWidget* m_resetAll = nullptr;
};
