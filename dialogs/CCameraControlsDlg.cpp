#include "CCameraControlsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

#include <linux/videodev2.h>

using platform::CameraControl;
using Kind = platform::CameraControl::Kind;

namespace {

// The widget that edits a control, found by the control's name; its value label and its
// Default button carry suffixes.
QString EditorName(const CameraControl& c) { return QString::fromStdString(c.name); }
QString ValueLabelName(const CameraControl& c) { return EditorName(c) + QStringLiteral(" value"); }
QString DefaultName(const CameraControl& c) { return EditorName(c) + QStringLiteral(" default"); }

QString GroupTitle(uint32_t controlClass, const std::vector<CameraControl>& all) {
    for (const CameraControl& c : all)
        if (c.kind == Kind::Class && c.controlClass == controlClass) return QString::fromStdString(c.name);
    switch (controlClass) {
    case V4L2_CTRL_CLASS_USER: return QStringLiteral("User Controls");
    case V4L2_CTRL_CLASS_CAMERA: return QStringLiteral("Camera Controls");
    default: return QStringLiteral("Other Controls");
    }
}

// Sliders count in steps, so a step of 10 moves the value by 10 and a 64-bit range still fits.
int ToSlider(const CameraControl& c, int64_t v) { return int((v - c.minimum) / std::max<int64_t>(1, c.step)); }
int64_t FromSlider(const CameraControl& c, int pos) { return c.minimum + int64_t(pos) * std::max<int64_t>(1, c.step); }

}  // namespace

CCameraControlsDlg::CCameraControlsDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Camera Controls"));
    auto* layout = new QVBoxLayout(this);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("device"));
    layout->addWidget(m_title);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll = scroll;
    m_body = new QWidget(scroll);
    m_groups = new QVBoxLayout(m_body);
    scroll->setWidget(m_body);
    layout->addWidget(scroll, 1);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    layout->addWidget(m_message);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* reset = buttons->addButton(QStringLiteral("&Reset all"), QDialogButtonBox::ResetRole);
    reset->setObjectName(QStringLiteral("Reset all"));
    m_resetAll = reset;
    connect(reset, &QPushButton::clicked, this, [this] { ResetAll(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(460, 560);
}

CCameraControlsDlg::~CCameraControlsDlg() = default;

void CCameraControlsDlg::ShowFor(const QString& node, const QString& deviceName) {
    m_device.reset();
    m_controls.clear();
    m_title->setText(deviceName);
    Report({});
    if (node.isEmpty()) {
        Report(QStringLiteral("\"%1\" has no controls.").arg(deviceName));
    } else if (auto device = platform::CameraDevice::Open(node.toStdString()); !device) {
        Report(QString::fromStdString(device.Error()));
    } else {
        m_device.emplace(std::move(*device));
        // Values are the device's: another program may have changed them since last time.
        if (auto controls = m_device->Controls(); controls) m_controls = std::move(*controls);
        else Report(QString::fromStdString(controls.Error()));
        if (m_controls.empty() && m_message->text().isEmpty())
            Report(QStringLiteral("\"%1\" has no controls.").arg(deviceName));
    }
    Rebuild();
    show();
    raise();
    activateWindow();
}

QString CCameraControlsDlg::Message() const { return m_message->text(); }

const CameraControl* CCameraControlsDlg::Find(uint32_t id) const {
    for (const CameraControl& c : m_controls)
        if (c.id == id) return &c;
    return nullptr;
}

void CCameraControlsDlg::Report(const QString& text) { m_message->setText(text); }

void CCameraControlsDlg::Rebuild() {
    while (QLayoutItem* item = m_groups->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    std::vector<uint32_t> classes;
    for (const CameraControl& c : m_controls)
        if (c.kind != Kind::Class && std::find(classes.begin(), classes.end(), c.controlClass) == classes.end())
            classes.push_back(c.controlClass);
    for (uint32_t cls : classes) {
        auto* group = new QGroupBox(GroupTitle(cls, m_controls), m_body);
        auto* form = new QFormLayout(group);
        for (const CameraControl& c : m_controls) {
            if (c.kind == Kind::Class || c.controlClass != cls) continue;
            auto* row = new QWidget(group);
            auto* h = new QHBoxLayout(row);
            h->setContentsMargins(0, 0, 0, 0);
            h->addWidget(MakeEditor(c), 1);
            if (c.kind != Kind::Button) {
                auto* reset = new QPushButton(QStringLiteral("Default"), row);
                reset->setObjectName(DefaultName(c));
                const uint32_t id = c.id;
                connect(reset, &QPushButton::clicked, this, [this, id] {
                    if (const CameraControl* now = Find(id)) Apply(*now, now->defaultValue);
                });
                h->addWidget(reset);
            }
            auto* label = new QLabel(QString::fromStdString(c.name), group);
            label->setBuddy(row->findChild<QWidget*>(EditorName(c)));
            form->addRow(label, row);
        }
        m_groups->addWidget(group);
    }
    m_groups->addStretch(1);
    m_resetAll->setEnabled(!m_controls.empty());
    for (const CameraControl& c : m_controls) UpdateEditor(c);
    // Wide enough for the longest name and its slider, with room for the vertical bar.
    const int wanted = m_body->sizeHint().width() + m_scroll->verticalScrollBar()->sizeHint().width() +
                       2 * m_scroll->frameWidth() + layout()->contentsMargins().left() +
                       layout()->contentsMargins().right();
    if (width() < wanted) resize(wanted, height());
}

QWidget* CCameraControlsDlg::MakeEditor(const CameraControl& c) {
    const uint32_t id = c.id;
    // Every editor hands its new value to Apply with the control as last read.
    auto apply = [this, id](int64_t value) {
        if (const CameraControl* now = Find(id)) Apply(*now, value);
    };
    QWidget* editor = nullptr;
    switch (c.kind) {
    case Kind::Integer: {
        auto* box = new QWidget;
        auto* h = new QHBoxLayout(box);
        h->setContentsMargins(0, 0, 0, 0);
        auto* slider = new QSlider(Qt::Horizontal, box);
        slider->setObjectName(EditorName(c));
        slider->setRange(0, ToSlider(c, c.maximum));
        auto* value = new QLabel(box);
        value->setObjectName(ValueLabelName(c));
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("-000000")));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        h->addWidget(slider, 1);
        h->addWidget(value);
        connect(slider, &QSlider::valueChanged, this,
                [apply, c](int pos) { apply(FromSlider(c, pos)); });
        return box;
    }
    case Kind::Boolean: {
        auto* check = new QCheckBox;
        connect(check, &QCheckBox::toggled, this, [apply](bool on) { apply(on ? 1 : 0); });
        editor = check;
        break;
    }
    case Kind::Menu:
    case Kind::IntegerMenu: {
        auto* combo = new QComboBox;
        for (const auto& [value, label] : c.menu) combo->addItem(QString::fromStdString(label), qint64(value));
        connect(combo, &QComboBox::activated, this,
                [apply, combo](int row) { apply(combo->itemData(row).toLongLong()); });
        editor = combo;
        break;
    }
    case Kind::Button: {
        auto* button = new QPushButton(QString::fromStdString(c.name));
        connect(button, &QPushButton::clicked, this, [apply] { apply(1); });
        editor = button;
        break;
    }
    case Kind::Class:
    case Kind::Other: editor = new QLabel(QStringLiteral("(not settable here)")); break;
    }
    editor->setObjectName(EditorName(c));
    return editor;
}

void CCameraControlsDlg::UpdateEditor(const CameraControl& c) {
    QWidget* editor = m_body->findChild<QWidget*>(EditorName(c));
    if (!editor) return;
    const QSignalBlocker block(editor);
    if (auto* slider = qobject_cast<QSlider*>(editor)) slider->setValue(ToSlider(c, c.value));
    if (auto* check = qobject_cast<QCheckBox*>(editor)) check->setChecked(c.value != 0);
    if (auto* combo = qobject_cast<QComboBox*>(editor)) combo->setCurrentIndex(combo->findData(qint64(c.value)));
    if (auto* value = m_body->findChild<QLabel*>(ValueLabelName(c))) {
        value->setText(QString::number(c.value));
        value->setEnabled(c.Settable());
    }
    editor->setEnabled(c.Settable() || (c.kind == Kind::Button && !c.readOnly && !c.inactive));
    // Why a control cannot be used, in its tool tip.
    editor->setToolTip(c.readOnly ? QStringLiteral("Read-only")
                       : c.inactive ? QStringLiteral("Inactive in the camera's present mode")
                       : QString());
    if (auto* reset = m_body->findChild<QPushButton*>(DefaultName(c))) reset->setEnabled(c.Settable());
}

void CCameraControlsDlg::Refresh() {
    if (!m_device) return;
    auto controls = m_device->Controls();
    if (!controls) {
        Report(QString::fromStdString(controls.Error()));
        return;
    }
    m_controls = std::move(*controls);
    for (const CameraControl& c : m_controls) UpdateEditor(c);
}

void CCameraControlsDlg::Apply(const CameraControl& control, int64_t value) {
    if (!m_device) return;
    const platform::Result<> set = m_device->Set(control, value);
    Report(set ? QString() : QString::fromStdString(set.Error()));
    // A refused value puts the editor back at the device's real one; an accepted one may
    // have changed what the others can do.
    Refresh();
}

void CCameraControlsDlg::ResetAll() {
    if (!m_device) return;
    QStringList refused;
    // In the driver's order, reading again after each: an automatic mode set back to its
    // default may make the manual values after it inactive, and those are then left alone.
    for (size_t i = 0; i < m_controls.size(); ++i) {
        const CameraControl c = m_controls[i];
        if (!c.Settable() || c.kind == Kind::Button || c.value == c.defaultValue) continue;
        if (const platform::Result<> set = m_device->Set(c, c.defaultValue); !set)
            refused << QString::fromStdString(set.Error());
        Refresh();
    }
    Report(refused.join(QLatin1Char('\n')));
}
