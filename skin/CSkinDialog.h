// The skinned window: builds its shape, background and controls from a skin package and
// reports clicks on its controls by skin name.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>

#include <memory>
#include <vector>

#include "controls/SkinHost.h"
#include "platform/Colour.h"
#include "skin/SkinKeyCommands.h"
#include "skin/SkinPackages.h"
#include "skin/zip/CZipReader.h"

class CLabel;
class QMenu;
class SkinButton;
class SkinCheckButton;
class SkinComboBox;
class SkinEditBox;
class SkinListBox;
class SkinOptionButton;
class SkinSlider;
struct SkinButtonData;
struct SkinDescription;
struct SkinLabelData;

// The full path of the extracted skin folder, with one trailing "/", while it exists.
extern QString g_skinFolder;

class CSkinDialog : public QDialog, public SkinHost {
    Q_OBJECT
public:
    explicit CSkinDialog(QWidget* parent = nullptr);
    ~CSkinDialog() override;

    // Notifications by skin name; the main window overrides them.
    virtual void OnSkinButton(const QString& name);
    virtual void OnSkinOption(const QString& name);
    virtual void OnSkinSlider(const QString& name, int position);
    virtual void OnSkinMouseMove(const QString& name, const QPoint& point);

    // SkinHost: controls report here by index.
    void OnSkinButtonClick(int index) override;
    void OnSkinOptionClick(int index) override;
    void OnSkinCheckClick(int index) override;
    void OnSkinSliderMove(int index, int position) override;
    const QImage& BackgroundCopy() const override { return m_backgroundCopy; }
    SkinComboBox* FirstComboBox() override;
    void RepaintOptionsAndModeLabel() override;

    // The directory of path, made absolute, with one trailing "/".
    static QString GetSkinFolder(const QString& path);
    void FreeSkin();
    // Reads the skin's Skin.ini, then builds the window from what it says.
    void LoadSkin();
    void BuildSkin(const SkinDescription& description, const QString& folder);
    // Shapes the window from the background and the colour key; true when a pixel was cut.
    bool BuildWindowRegion();

    SkinButton* FindButton(const QString& name) const;
    SkinSlider* FindSlider(const QString& name) const;
    CLabel* FindLabel(const QString& name) const;

    // Start-up skin and Change Skin commands (ids kFirstSkinCommand..kLastSkinCommand).
    void LoadStartupSkin();
    void OnChangeSkin(int commandId);
    bool IsSkinCommandChecked(int commandId) const;
    // The window's context menu: "&Change Skin" with the eight packages.
    // Windows built on this one may add their own entries.
    virtual QMenu* BuildContextMenu(QWidget* parent);
    // Opens the package and extracts every entry into folder; reports failures itself and
    // returns false after one.
    bool ExtractSkinPackage(const QString& packagePath, const QString& folder);
    // Where a package name is found: the start-up directory, else the installed skins.
    QString LocatePackage(const QString& packageName) const;

    // Runs the window's initialisation once, then the modal loop.
    int RunModal();
    // Builds the window, as the first RunModal does, without showing it.
    void Initialise();
    // Dialog initialisation; the main window extends it.
    virtual bool OnInitDialog();

    // Read-only views for the derived window and tests.
    const std::vector<std::unique_ptr<SkinButton>>& Buttons() const { return m_buttons; }
    const std::vector<std::unique_ptr<SkinSlider>>& Sliders() const { return m_sliders; }
    const std::vector<std::unique_ptr<SkinEditBox>>& Edits() const { return m_edits; }
    const std::vector<std::unique_ptr<SkinListBox>>& ListBoxes() const { return m_listBoxes; }
    const std::vector<std::unique_ptr<CLabel>>& Labels() const { return m_labels; }
    const std::vector<std::unique_ptr<SkinOptionButton>>& Options() const { return m_options; }
    const std::vector<std::unique_ptr<SkinCheckButton>>& Checks() const { return m_checks; }
    const std::vector<std::unique_ptr<SkinComboBox>>& Combos() const { return m_combos; }
    CLabel* CaptionLabel() const { return m_captionLabel.get(); }
    const QRegion& Region() const { return m_region; }
    const QRect& ControlRect() const { return m_controlRect; }
    const QRect& IconRect() const { return m_iconRect; }
    platform::Colour TransparentColour() const { return m_transparentColor; }
    int SkinIndex() const { return m_skinIndex; }
    const QImage& Background() const { return m_background; }
    QString IniPath() const { return m_iniPath; }
    void SetIniPath(const QString& path) { m_iniPath = path; }
    // Keys that run skin-button commands; the buttons of every later skin name them.
    SkinKeyCommands& KeyCommands() { return m_keyCommands; }
    // The directory packages are looked up in first (current directory at start-up).
    void SetStartDirectory(const QString& dir) { m_startDirectory = dir; }
    // The shipped packages: looked up second, and the fallback for one that cannot be used.
    void SetInstalledDirectory(const QString& dir) { m_installedDirectory = dir; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void contextMenuEvent(QContextMenuEvent*) override;
    // Paints the skin; the main window adds its minimised look.
    void PaintSkin(QPainter& painter);
    // After a Change Skin command has loaded its package; the main window puts its own
    // pieces (capture control, format list) onto the new skin.
    virtual void OnSkinSwitched() {}
    // Hands the window to the window manager to move with the pointer; false where the
    // platform cannot, and the window then follows the pointer itself.
    virtual bool StartSystemMove();

private:
    template <class Button>
    void AddButton(std::vector<std::unique_ptr<Button>>& list, const SkinButtonData& button,
                   const QString& folder);
    std::unique_ptr<CLabel> MakeLabel(const SkinLabelData& label, int index);

protected:
    std::vector<std::unique_ptr<SkinButton>> m_buttons;
    std::vector<std::unique_ptr<SkinSlider>> m_sliders;
    std::vector<std::unique_ptr<SkinEditBox>> m_edits;
    std::vector<std::unique_ptr<SkinListBox>> m_listBoxes;
    std::vector<std::unique_ptr<CLabel>> m_labels;
    std::vector<std::unique_ptr<SkinOptionButton>> m_options;
    std::vector<std::unique_ptr<SkinCheckButton>> m_checks;
    std::vector<std::unique_ptr<SkinComboBox>> m_combos;
    QImage m_iconImage;
    QImage m_focusPicture;  // the skin's "Focus.bmp", null when it has none
    QImage m_iconKeyed;
    QRect m_iconRect;
    std::unique_ptr<CLabel> m_captionLabel;
    platform::Colour m_transparentColor = platform::MakeColour(255, 0, 255);
    QRegion m_region;
    QImage m_backgroundCopy;
    int m_skinIndex = 0;
    QRect m_controlRect;
    QString m_iniPath;
    QImage m_background;
    CZipReader m_archive;

private:
    // Extracts packagePath into a fresh private folder, loads it and removes the folder;
    // false when the package could not be opened or extracted whole, or gave no background.
    bool ApplyPackage(const QString& packagePath);
    // Loads the package named packageName; when the one found cannot be used and a shipped
    // copy exists, says so and loads that instead.
    void ApplyPackageOrShipped(const QString& packageName);

    QString m_startDirectory;
    QString m_installedDirectory;
    SkinKeyCommands m_keyCommands;
    bool m_initialised = false;
    // A left press on the background arms a move; it starts once the pointer has travelled
    // the platform's drag distance with the button held, so a plain click moves nothing.
    bool m_movePending = false;
    bool m_dragging = false;
    QPoint m_pressGlobal;
    QPoint m_dragOffset;
};
