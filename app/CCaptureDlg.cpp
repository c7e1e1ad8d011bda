#include "CCaptureDlg.h"

#include <QPainter>

#include "AppIcon.h"
#include "controls/SkinComboBox.h"
#include "platform/DialogUnits.h"
#include "platform/Paths.h"

namespace {
// Window template 102: its size and the two hosted controls, in dialog units.
const QRect kTemplateSize(0, 0, 719, 486);
const QRect kWmvEditorRect(134, 328, 60, 25);
const QRect kCaptureRect(304, 196, 91, 72);
}  // namespace

CCaptureDlg::CCaptureDlg(QWidget* parent) : CSkinDialog(parent), m_hIcon(MakeAppIcon()) {
    const QSize base = platform::DialogBaseUnits(platform::TemplateFont("MS Sans Serif", 8));
    resize(platform::DialogUnitsToPixels(kTemplateSize, base).size());
    m_wmvEditor = platform::ControlContainer::Create(platform::kWmvEditorClassId, this);
    if (m_wmvEditor) m_wmvEditor->setGeometry(platform::DialogUnitsToPixels(kWmvEditorRect, base));
    m_captureControl = platform::ControlContainer::Create(platform::kCaptureControlClassId, this);
    if (m_captureControl)
        m_captureControl->setGeometry(platform::DialogUnitsToPixels(kCaptureRect, base));
}

CCaptureDlg::~CCaptureDlg() {
    // The hosted controls go first, while the window they draw into still exists.
    delete m_captureControl;
    delete m_wmvEditor;
}

bool CCaptureDlg::OnInitDialog() {
    const QString current = platform::CurrentDirectory();
    LoadStartupSkin();
    platform::SetCurrentDirectory(current);
    CSkinDialog::OnInitDialog();

    if (SkinComboBox* combo = FirstComboBox()) {
        combo->AddString(QStringLiteral("FLV"));
        combo->SelectText(QStringLiteral("FLV"));
    }
    setWindowIcon(m_hIcon);
    if (m_captureControl && m_controlRect.isValid()) {
        m_captureControl->setGeometry(m_controlRect);
        m_captureControl->raise();
        m_captureControl->show();
    }
    return true;
}

void CCaptureDlg::OnSkinButton(const QString& name) {
    if (name == QLatin1String("BUTTON_EXIT") || name == QLatin1String("BUTTON_CLOSE"))
        done(1);
    else if (name == QLatin1String("BUTTON_MINIMIZE"))
        showMinimized();
}

void CCaptureDlg::OnSkinOption(const QString&) {}
void CCaptureDlg::OnSkinSlider(const QString&, int) {}

void CCaptureDlg::paintEvent(QPaintEvent* e) {
    if (!isMinimized()) {
        CSkinDialog::paintEvent(e);
        return;
    }
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QSize icon(32, 32);
    const QPoint at((width() - icon.width() + 1) / 2, (height() - icon.height() + 1) / 2);
    p.drawPixmap(at, m_hIcon.pixmap(icon));
}
