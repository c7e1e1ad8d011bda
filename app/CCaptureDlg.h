// The main capture window: the skinned window that hosts the capture control.
#pragma once

#include <QIcon>

#include "platform/ControlContainer.h"
#include "skin/CSkinDialog.h"

class CCaptureDlg : public CSkinDialog {
    Q_OBJECT
public:
    // Ids of the two controls of the window's template.
    static constexpr int kCaptureControlId = 1004;
    static constexpr int kWmvEditorControlId = 1041;

    explicit CCaptureDlg(QWidget* parent = nullptr);
    ~CCaptureDlg() override;

    bool OnInitDialog() override;
    void OnSkinButton(const QString& name) override;
    void OnSkinOption(const QString& name) override;
    void OnSkinSlider(const QString& name, int position) override;

    // The hosted controls; nullptr when their class id is not registered.
    platform::HostedControl* CaptureControl() const { return m_captureControl; }
    platform::HostedControl* WmvEditor() const { return m_wmvEditor; }
    const QIcon& Icon() const { return m_hIcon; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    platform::HostedControl* m_captureControl = nullptr;
    platform::HostedControl* m_wmvEditor = nullptr;
    QIcon m_hIcon;
};
