#include "CSkinDialog.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "controls/CLabel.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinEditBox.h"
#include "controls/SkinListBox.h"
#include "controls/SkinScrollBar.h"
#include "controls/SkinSlider.h"
#include "platform/Bitmap.h"
#include "platform/Paths.h"
#include "platform/Region.h"
#include "platform/Services.h"
#include "skin/CIniFile.h"
#include "skin/SkinDescription.h"
#include "skin/SkinEntry.h"
#include "skin/SkinFiles.h"

QString g_skinFolder;

namespace {

// A picture a skin package may hold beside its Skin.ini, for the button with the focus.
constexpr const char* kFocusPicture = "Focus.bmp";

QString ToQ(const std::string& s) { return QString::fromStdString(s); }

QRect ToQRect(const SkinRect& r) { return QRect(QPoint(r.left, r.top), QSize(r.width(), r.height())); }

// Image fields are relative to the skin folder; skins made elsewhere may write "\", pad the
// name with blanks before the comma, or name it in another letter case.
QString ImagePath(const QString& folder, const std::string& field) {
    QString relative = ToQ(field);
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (relative.endsWith(QLatin1Char(' ')) || relative.endsWith(QLatin1Char('\t')))
        relative.chop(1);
    return FindSkinFile(folder, relative);
}

SkinScrollBarImages ScrollBarImages(const SkinScrollBarFields& bar, const QString& folder) {
    SkinScrollBarImages images;
    QString* fields[] = {&images.track, &images.up, &images.upPressed, &images.down,
                         &images.downPressed, &images.thumb, &images.thumbPressed};
    for (size_t i = 0; i < bar.size(); ++i) *fields[i] = ImagePath(folder, bar[i]);
    return images;
}

SkinListColours ListColours(const SkinListColourData& c) {
    return {c.back, c.text, c.selectedBack, c.selectedText};
}

// The loader's failures: a message with an OK button and the stop icon.
void ShowStop(QWidget* parent, const char* text) {
    platform::ShowMessage(parent, QString::fromLatin1(text), platform::MsgButtons::Ok,
                          platform::MsgIcon::Stop);
}

template <class T>
T* FindByName(const std::vector<std::unique_ptr<T>>& list, const QString& name) {
    for (const auto& c : list)
        if (c->name == name) return c.get();
    return nullptr;
}

}  // namespace

CSkinDialog::CSkinDialog(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    // Wayland compositors take a window's mask for its input only and draw the rest of the
    // surface: there the shape is made of alpha instead, while X11 keeps the mask alone.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    m_startDirectory = platform::CurrentDirectory();
    m_installedDirectory = platform::InstalledSkinsFolder();
}

CSkinDialog::~CSkinDialog() { FreeSkin(); }

void CSkinDialog::OnSkinButton(const QString&) {}
void CSkinDialog::OnSkinOption(const QString&) {}
void CSkinDialog::OnSkinSlider(const QString&, int) {}
void CSkinDialog::OnSkinMouseMove(const QString&, const QPoint&) {}
void CSkinDialog::OnSkinCheckClick(int) {}

void CSkinDialog::OnSkinButtonClick(int index) {
    if (index < 0 || index >= int(m_buttons.size())) return;
    const QString name = m_buttons[index]->name;  // a copy: the handler may switch skins
    OnSkinButton(name);
}

void CSkinDialog::OnSkinOptionClick(int index) {
    if (index < 0 || index >= int(m_options.size())) return;
    for (int i = 0; i < int(m_options.size()); ++i) {
        SkinOptionButton* option = m_options[i].get();
        if (i == index || option->name == QLatin1String("OPTION_AUDIOSTREAM1")) continue;
        option->isChecked = false;
        option->update();
    }
    const QString name = m_options[index]->name;
    OnSkinOption(name);
}

void CSkinDialog::OnSkinSliderMove(int index, int position) {
    if (index < 0 || index >= int(m_sliders.size())) return;
    const QString name = m_sliders[index]->name;
    OnSkinSlider(name, position);
}

SkinComboBox* CSkinDialog::FirstComboBox() {
    return m_combos.empty() ? nullptr : m_combos.front().get();
}

void CSkinDialog::RepaintOptionsAndModeLabel() {
    for (const auto& option : m_options) option->update();
    if (CLabel* mode = FindLabel(QStringLiteral("LABEL_MODE"))) mode->update();
}

QString CSkinDialog::GetSkinFolder(const QString& path) {
    QString folder = QFileInfo(platform::FullPath(path)).absolutePath();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

SkinButton* CSkinDialog::FindButton(const QString& name) const { return FindByName(m_buttons, name); }
SkinSlider* CSkinDialog::FindSlider(const QString& name) const { return FindByName(m_sliders, name); }
CLabel* CSkinDialog::FindLabel(const QString& name) const { return FindByName(m_labels, name); }

void CSkinDialog::FreeSkin() {
    m_background = QImage();
    m_backgroundCopy = QImage();
    // Lists first, then the caption, then sliders, then combo boxes with their parts.
    m_buttons.clear();
    m_edits.clear();
    m_listBoxes.clear();
    m_options.clear();
    m_checks.clear();
    m_labels.clear();
    m_captionLabel.reset();
    m_sliders.clear();
    m_combos.clear();
}

bool CSkinDialog::BuildWindowRegion() {
    long removed = 0;
    if (m_background.isNull()) {
        // Nothing to cut a shape from: the window keeps its plain rectangle.
        m_region = QRegion(rect());
        clearMask();
        return false;
    }
    m_region = platform::RegionFromColourKey(m_background, m_transparentColor, &removed);
    if (m_region.isEmpty()) {
        // An empty mask would mean "no mask" to Qt; a region outside the window shows nothing.
        setMask(QRegion(-1, -1, 1, 1));
    } else {
        setMask(m_region);
    }
    return removed > 0;
}

void CSkinDialog::LoadSkin() {
    FreeSkin();
    // No description (the skin could not be extracted) builds an empty skin.
    const CIniFile ini = m_iniPath.isEmpty() ? CIniFile::FromText({})
                                          : CIniFile(m_iniPath.toStdString());
    BuildSkin(ReadSkinDescription(ini), m_iniPath.isEmpty() ? QString() : GetSkinFolder(m_iniPath));
}

template <class Button>
void CSkinDialog::AddButton(std::vector<std::unique_ptr<Button>>& list, const SkinButtonData& b,
                            const QString& folder) {
    const QRect r = ToQRect(b.rect);
    auto button = std::make_unique<Button>(this, this, r);
    button->transparentColor = m_transparentColor;
    button->LoadImages(ImagePath(folder, b.image), r);
    button->index = int(list.size());
    button->name = ToQ(b.name);
    button->SetToolTipText(ToQ(b.tip), true);
    button->SetFocusPicture(m_focusPicture);
    button->toggle = b.toggle;
    button->isChecked = b.checked;
    list.push_back(std::move(button));
}

std::unique_ptr<CLabel> CSkinDialog::MakeLabel(const SkinLabelData& l, int index) {
    auto label = std::make_unique<CLabel>(this, this, ToQRect(l.rect));
    label->index = index;
    label->name = ToQ(l.name);
    label->SetText(ToQ(l.text));
    label->SetFontName(ToQ(l.face).left(31));
    label->SetFontSize(l.points);
    label->SetTextColor(l.colour);
    label->update();
    return label;
}

void CSkinDialog::BuildSkin(const SkinDescription& d, const QString& folder) {
    m_background = platform::LoadBitmap(ImagePath(folder, d.background));
    if (d.transparent) m_transparentColor = *d.transparent;
    if (!m_background.isNull()) setFixedSize(m_background.size());
    BuildWindowRegion();

    if (d.control) m_controlRect = ToQRect(*d.control);
    if (d.icon) {
        m_iconRect = ToQRect(d.icon->rect);
        m_iconImage = platform::LoadBitmap(ImagePath(folder, d.icon->image));
    }
    // The icon may outlive its skin while the key colour changes with the next one.
    m_iconKeyed = platform::KeyedImage(m_iconImage, m_transparentColor);

    // A skin may bring its own mark for the focused button; without one, dots are drawn.
    m_focusPicture = folder.isEmpty() ? QImage() : platform::LoadBitmap(ImagePath(folder, kFocusPicture));

    // Widgets are made in this order, which is also their order for painting and focus.
    for (const SkinButtonData& b : d.buttons) {
        AddButton(m_buttons, b, folder);
        m_buttons.back()->SetShortcutText(m_keyCommands.KeyTextFor(m_buttons.back()->name));
    }
    if (SkinButton* pause = FindButton(QStringLiteral("BUTTON_PAUSE"))) pause->hide();
    if (SkinButton* play = FindButton(QStringLiteral("BUTTON_PLAY"))) play->show();

    for (const SkinSliderData& s : d.sliders) {
        auto slider = std::make_unique<SkinSlider>(this, this, ToQRect(s.rect));
        slider->transparentColor = m_transparentColor;
        slider->SetChannelImage(ImagePath(folder, s.channel));
        slider->SetThumbImages(ImagePath(folder, s.thumb), ImagePath(folder, s.activeThumb), true);
        slider->SetDrawFocusRect(false, false);
        slider->index = int(m_sliders.size());
        slider->name = ToQ(s.name);
        slider->SetToolTipText(ToQ(s.tip), true);
        slider->SetRange(0, 7200, false);
        slider->SetPosition(s.position);
        slider->vertical = s.vertical;
        m_sliders.push_back(std::move(slider));
    }

    for (const SkinButtonData& b : d.options) AddButton(m_options, b, folder);
    for (const SkinButtonData& b : d.checks) AddButton(m_checks, b, folder);

    if (d.caption) m_captionLabel = MakeLabel(*d.caption, 0);
    for (const SkinLabelData& l : d.labels) m_labels.push_back(MakeLabel(l, int(m_labels.size())));

    for (const SkinEditData& e : d.edits) {
        auto edit = std::make_unique<SkinEditBox>(this, ToQRect(e.rect));
        edit->index = int(m_edits.size());
        edit->name = ToQ(e.name);
        edit->SetBackColor(e.back);
        edit->SetTextColor(e.text);
        edit->SetFrameColor(e.frame);
        edit->setEnabled(e.enabled);
        m_edits.push_back(std::move(edit));
    }

    for (const SkinListData& l : d.lists) {
        auto list = std::make_unique<SkinListBox>(this, ToQRect(l.rect));
        list->SetColours(ListColours(l.colours));
        list->index = int(m_listBoxes.size());
        list->name = ToQ(l.name);
        list->AttachScrollBar(ScrollBarImages(l.bar, folder));
        list->SetupColumns();
        m_listBoxes.push_back(std::move(list));
    }

    for (const SkinComboData& c : d.combos) {
        const SkinComboColours colours{c.editBack, c.editText, c.editFrame, ListColours(c.list)};
        auto combo = std::make_unique<SkinComboBox>(this, this, ToQRect(c.rect),
                                                    ImagePath(folder, c.strip), colours,
                                                    ScrollBarImages(c.bar, folder));
        combo->index = int(m_combos.size());
        combo->name = ToQ(c.name);
        m_combos.push_back(std::move(combo));
    }

    // The progress slider and the elapsed-time label are prepared, then hidden.
    int position = 0, maximum = 7200;
    if (SkinSlider* progress = FindSlider(QStringLiteral("SLIDER_PROGRESS"))) {
        position = progress->GetPosition();
        maximum = progress->GetRangeMax();
        progress->hide();
    }
    if (CLabel* time = FindLabel(QStringLiteral("LABEL_TIME"))) {
        time->SetText(ToQ(FormatElapsed(position) + "/" + FormatElapsed(maximum)));
        time->update();
        time->hide();
    }

    m_backgroundCopy = m_background;
    update();
}

void CSkinDialog::PaintSkin(QPainter& p) {
    if (testAttribute(Qt::WA_TranslucentBackground)) {
        // Opaque exactly where the region is, transparent elsewhere; the region's runs are
        // the alpha, and the mask keeps input to the same shape.
        p.setClipRegion(m_region);
        p.fillRect(rect(), palette().window());
    }
    if (!m_background.isNull()) p.drawImage(0, 0, m_background);
    if (!m_iconKeyed.isNull())
        p.drawImage(m_iconRect.topLeft(), m_iconKeyed,
                    QRect(QPoint(0, 0), m_iconRect.size()));
}

void CSkinDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintSkin(p);
}

void CSkinDialog::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(e);
        return;
    }
    // Dragging by the background waits for the pointer to move: a window manager that is
    // handed a move on a plain click keeps the window on the pointer until the next click.
    m_movePending = true;
    m_dragging = false;
    m_pressGlobal = e->globalPosition().toPoint();
}

bool CSkinDialog::StartSystemMove() {
    QWindow* w = windowHandle();
    return w && w->startSystemMove();
}

void CSkinDialog::mouseMoveEvent(QMouseEvent* e) {
    const bool held = e->buttons() & Qt::LeftButton;
    if (m_movePending && held) {
        const QPoint global = e->globalPosition().toPoint();
        if ((global - m_pressGlobal).manhattanLength() < QApplication::startDragDistance()) return;
        m_movePending = false;
        // The window manager moves the window where it can; elsewhere it follows the pointer.
        if (StartSystemMove()) return;
        m_dragging = true;
        m_dragOffset = m_pressGlobal - frameGeometry().topLeft();
    }
    if (m_dragging && held) {
        move(e->globalPosition().toPoint() - m_dragOffset);
        return;
    }
    const QPoint point = e->position().toPoint();
    if (SkinComboBox* combo = FirstComboBox()) {
        if (!combo->Layout().whole.contains(point) && combo->IsListVisible()) combo->ToggleList();
    }
    if (!m_listBoxes.empty())
        if (SkinScrollBar* bar = m_listBoxes.front()->ScrollBar())
            bar->ForwardMouseMove(bar->mapFrom(this, point), e->buttons());
    if (SkinComboBox* combo = FirstComboBox())
        if (SkinScrollBar* bar = combo->ListScrollBar())
            bar->ForwardMouseMove(bar->mapFrom(this, point), e->buttons());
    QDialog::mouseMoveEvent(e);
    OnSkinMouseMove(QString(), point);
}

void CSkinDialog::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) m_movePending = m_dragging = false;
    QDialog::mouseReleaseEvent(e);
}

void CSkinDialog::keyPressEvent(QKeyEvent* e) {
    // A key held down runs its command once. Keys a focused edit box takes never get here.
    const Qt::KeyboardModifiers modifiers = e->modifiers() & ~Qt::KeypadModifier;
    const QKeySequence key(QKeyCombination(modifiers, Qt::Key(e->key())));
    const QString command = m_keyCommands.CommandFor(key, [this](const QString& name) {
        const SkinButton* button = FindButton(name);
        return button ? std::optional<bool>(!button->isHidden()) : std::nullopt;
    });
    if (!command.isEmpty()) {
        e->accept();
        if (!e->isAutoRepeat()) OnSkinButton(command);
        return;
    }
    // Neither Escape nor Enter may close the window.
    switch (e->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        e->accept();
        return;
    case Qt::Key_F10:
        if (e->modifiers() & Qt::ShiftModifier) {
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, rect().center(),
                                   mapToGlobal(rect().center()));
            contextMenuEvent(&menu);
            return;
        }
        break;
    case Qt::Key_Menu: {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, rect().center(),
                               mapToGlobal(rect().center()));
        contextMenuEvent(&menu);
        return;
    }
    default:
        break;
    }
    QDialog::keyPressEvent(e);
}

QMenu* CSkinDialog::BuildContextMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    QMenu* skins = menu->addMenu(QString::fromLatin1(kChangeSkinMenu));
    for (const SkinCommand& command : kSkinCommands) {
        QAction* action = skins->addAction(QString::fromLatin1(command.caption));
        action->setCheckable(true);
        action->setChecked(IsSkinCommandChecked(command.id));
        action->setData(command.id);
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { OnChangeSkin(id); });
    }
    return menu;
}

void CSkinDialog::contextMenuEvent(QContextMenuEvent* e) {
    std::unique_ptr<QMenu> menu(BuildContextMenu(this));
    menu->exec(e->globalPos());
    e->accept();
}

bool CSkinDialog::IsSkinCommandChecked(int commandId) const {
    return commandId == kFirstSkinCommand + m_skinIndex;
}

QString CSkinDialog::LocatePackage(const QString& packageName) const {
    const QString local = QDir(m_startDirectory).filePath(packageName);
    if (QFileInfo::exists(local)) return local;
    const QString installed = QDir(m_installedDirectory).filePath(packageName);
    if (QFileInfo::exists(installed)) return installed;
    return local;  // missing everywhere: opening it reports "Open failed"
}

bool CSkinDialog::ExtractSkinPackage(const QString& packagePath, const QString& folder) {
    m_archive.CloseArchive(true);
    for (;;) {
        try {
            m_archive.OpenArchive(packagePath.toStdString(), 0, 0);
            break;
        } catch (const CZipException& e) {
            m_archive.CloseArchive(true);
            if (e.GetCause() == CZipException::EndRecordNotFound &&
                platform::ShowMessage(this, QString::fromLatin1(kMsgRetryCentralDirectory),
                                      platform::MsgButtons::YesNo,
                                      platform::MsgIcon::Stop) == platform::IDYES)
                continue;
        } catch (const std::exception&) {
            m_archive.CloseArchive(true);
        }
        ShowStop(this, kMsgOpenFailed);
        return false;
    }
    try {
        const int count = m_archive.EntryCount();
        for (int i = 0; i < count; ++i)
            m_archive.ExtractEntry(static_cast<uint16_t>(i), folder.toStdString(), true);
    } catch (const std::exception&) {
        m_archive.CloseArchive(true);
        ShowStop(this, kMsgExtractFailed);
        return false;
    }
    m_archive.CloseArchive(true);
    return true;
}

bool CSkinDialog::ApplyPackage(const QString& packagePath) {
    // A fresh private folder per load: nothing of the user's is ever touched or deleted.
    const SkinWorkFolder folder;
    bool extracted = false;
    if (folder.IsValid()) {
        extracted = ExtractSkinPackage(packagePath, folder.Path());
        m_iniPath = FindSkinFile(folder.Path() + QLatin1Char('/'), QStringLiteral("Skin.ini"));
        g_skinFolder = GetSkinFolder(m_iniPath);
    } else {
        // Nowhere to extract to: say so, and read no Skin.ini from anywhere else.
        ShowStop(this, kMsgExtractFailed);
        m_iniPath.clear();
        g_skinFolder.clear();
    }
    LoadSkin();
    // The folder and everything in it go when it leaves scope; the skin lives in memory.
    return extracted && !m_background.isNull();
}

void CSkinDialog::ApplyPackageOrShipped(const QString& packageName) {
    const QString chosen = LocatePackage(packageName);
    if (ApplyPackage(chosen)) return;
    // A damaged or foreign package would leave a window without controls: the copy that
    // ships with the station always gives a working one.
    const QString shipped = QDir(m_installedDirectory).filePath(packageName);
    if (QFileInfo(shipped) == QFileInfo(chosen) || !QFileInfo::exists(shipped)) return;
    platform::ShowMessage(this,
                          QStringLiteral("The skin package \"%1\" cannot be used. The station "
                                         "uses its own copy, \"%2\", instead.")
                              .arg(QDir::toNativeSeparators(platform::FullPath(chosen)),
                                   QDir::toNativeSeparators(platform::FullPath(shipped))),
                          platform::MsgButtons::Ok, platform::MsgIcon::Information);
    ApplyPackage(shipped);
}

void CSkinDialog::LoadStartupSkin() {
    const QString current = platform::CurrentDirectory();
    ApplyPackageOrShipped(QString::fromLatin1(kStartupPackage));
    platform::SetCurrentDirectory(current);
}

void CSkinDialog::OnChangeSkin(int commandId) {
    if (commandId < kFirstSkinCommand || commandId > kLastSkinCommand) return;
    m_skinIndex = commandId - kFirstSkinCommand;
    // Repaints wait until the new skin is whole; hiding would end the window's modal run.
    setUpdatesEnabled(false);
    // The new size and shape may send the window to the screen's corner: it stays put.
    const QPoint place = pos();
    ApplyPackageOrShipped(QString::fromLatin1(kSkinCommands[m_skinIndex].package));
    OnSkinSwitched();
    move(place);
    setUpdatesEnabled(true);
    update();
}

bool CSkinDialog::OnInitDialog() {
    // The tick goes to the skin on screen: the start-up package is Blue, which the menu
    // offers as "Bl&ue".
    m_skinIndex = 0;
    const QString startup = QFileInfo(QString::fromLatin1(kStartupPackage)).completeBaseName();
    for (size_t i = 0; i < kSkinCommands.size(); ++i)
        if (QFileInfo(QString::fromLatin1(kSkinCommands[i].package)).completeBaseName() == startup)
            m_skinIndex = int(i);
    return true;
}

void CSkinDialog::Initialise() {
    if (m_initialised) return;
    m_initialised = true;
    OnInitDialog();
}

int CSkinDialog::RunModal() {
    Initialise();
    return exec();
}
