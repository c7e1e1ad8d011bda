#include "ThemeBuilder.h"

#include <QPainter>

#include <array>
#include <string_view>

#include "BackgroundPainter.h"
#include "BarPainter.h"
#include "ButtonPainter.h"
#include "GlyphPainter.h"
#include "KeyedArt.h"
#include "ShippedButton.h"
#include "SkinLayout.h"
#include "SkinTheme.h"

namespace {

// Short names keep the combo box's entry, which names eight pictures, within its size limit.
constexpr std::array<const char*, 7> kScrollBarFiles = {
    "sb_trk.bmp", "sb_up.bmp", "sb_upp.bmp", "sb_dn.bmp", "sb_dnp.bmp", "sb_th.bmp", "sb_thp.bmp"};

struct Toggle {
    const char* name;
    const char* file;
    const char* text;
    const char* tip;
    bool checked;
};

// The quality presets of the output settings; the main window acts on them by name.
constexpr std::array<Toggle, 3> kOptions = {{
    {"OPTION_QUALITY_LOW", "opt_low.bmp", "Low", "Low quality", false},
    {"OPTION_QUALITY_MEDIUM", "opt_med.bmp", "Medium", "Medium quality", true},
    {"OPTION_QUALITY_HIGH", "opt_high.bmp", "High", "High quality", false},
}};
// Mirrors the text overlay dialog's grey scale switch.
constexpr Toggle kCheck = {"CHECK_GREYSCALE", "chk_grey.bmp", "Grey picture",
                           "Show the picture in grey", false};

class Assembler {
public:
    explicit Assembler(const SkinTheme& theme)
        : m_theme(theme), m_layout(SkinLayout::For(theme)),
          m_background(BackgroundPainter::Paint(theme, m_layout)) {
        m_model.title = theme.title;
        m_model.package = theme.package;
        m_model.key = kKeyColour;
        m_model.control = m_layout.video;
    }

    SkinModel Build() {
        m_model.background = Add("background.bmp", m_background);
        AddIconAndCaption();
        AddButtons();
        if (m_theme.deluxe) AddFocusMark();
        AddSlider();
        if (!m_layout.options.empty()) AddToggles();
        AddLabels();
        m_model.edits.push_back({"EDIT_FILEPATH", m_layout.edit, m_theme.editBack, m_theme.editText,
                                 m_theme.editBorder, false});
        const SkinScrollBarFiles bar = AddScrollBar();
        if (!m_layout.list.isEmpty())
            m_model.lists.push_back({"LIST_RECORDINGS", m_layout.list, m_theme.listBack,
                                     m_theme.listText, m_theme.selBack, m_theme.selText, bar});
        const std::string button =
            Add("combo.bmp", ButtonPainter::DropDownStrip(m_theme, m_layout.comboCell));
        m_model.combos.push_back({"COMBO_FORMAT", m_layout.combo, button, m_theme.editBack,
                                  m_theme.editText, m_theme.editBorder, m_theme.listBack,
                                  m_theme.listText, m_theme.selBack, m_theme.selText, bar});
        return std::move(m_model);
    }

private:
    std::string Add(const std::string& file, QImage image) {
        std::string path = std::string(m_theme.imageFolder) + file;
        m_model.pictures.push_back({path, std::move(image)});
        return path;
    }

    QImage Under(const QRect& r) const { return m_background.copy(r); }

    void AddIconAndCaption() {
        QImage art = KeyedArt::Canvas(m_layout.icon.size());
        QPainter p(&art);
        GlyphPainter::Draw(p, Glyph::Camera, QRectF(art.rect()), Qt::white);
        p.end();
        m_model.icon = Add("icon.bmp", KeyedArt::FlattenOnto(art, Under(m_layout.icon)));
        m_model.iconRect = m_layout.icon;
        m_model.caption = {"CAPTION", m_layout.caption, "Capture Station", m_theme.captionFace,
                           m_theme.captionPoints, m_theme.text};
    }

    QRect ButtonRect(const ShippedButton& c, size_t& settingsIndex) const {
        const std::string_view name = c.name;
        if (name == "BUTTON_PLAY" || name == "BUTTON_PAUSE") return m_layout.play;
        if (name == "BUTTON_STOP") return m_layout.stop;
        if (name == "BUTTON_CONVERT") return m_layout.record;
        if (name == "BUTTON_STREAM") return m_layout.stream;
        if (name == "BUTTON_SNAPSHOT") return m_layout.snapshot;
        if (name == "BUTTON_MINIMIZE") return m_layout.minimize;
        if (name == "BUTTON_CLOSE") return m_layout.close;
        return m_layout.settings[settingsIndex++];
    }

    void AddButtons() {
        size_t settingsIndex = 0;
        for (const ShippedButton& c : ShippedButtons()) {
            const QRect rect = ButtonRect(c, settingsIndex);
            const bool danger = std::string_view(c.name) == "BUTTON_CLOSE";
            const std::string image =
                Add(c.file, ButtonPainter::CommandStrip(m_theme, m_theme.transportFace, c.glyph,
                                                        danger, Under(rect)));
            m_model.buttons.push_back({c.name, image, rect, c.tip, false});
        }
    }

    // The richer skin brings its own focus mark: a ring in its accent colour, hard-edged so
    // that no blend with the key colour fringes it.
    void AddFocusMark() {
        QImage mark(48, 48, QImage::Format_RGB32);
        mark.fill(kKeyColour);
        QPainter p(&mark);
        p.setPen(QPen(m_theme.accent, 4));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRect(2, 2, 44, 44), 8, 8);
        p.end();
        m_model.pictures.push_back({"Focus.bmp", std::move(mark)});
    }

    void AddSlider() {
        const QRect& s = m_layout.slider;
        const int groove = (BarPainter::kThumbSide - BarPainter::kChannelHeight) / 2;
        // The thumb travels along a groove that looks the same everywhere: take its middle.
        const QRect thumbSpot(s.center().x() - BarPainter::kThumbSide / 2, s.y(),
                              BarPainter::kThumbSide, BarPainter::kThumbSide);
        SkinSliderEntry e;
        e.name = "SLIDER_PROGRESS";
        e.channel = Add("progress.bmp", BarPainter::SliderChannel(
            m_theme, Under(QRect(s.x(), s.y() + groove, s.width(), BarPainter::kChannelHeight))));
        e.thumb = Add("thumb.bmp", BarPainter::SliderThumb(m_theme, Under(thumbSpot), false));
        e.activeThumb = Add("thumb_on.bmp", BarPainter::SliderThumb(m_theme, Under(thumbSpot), true));
        e.rect = s;
        e.tip = "Recording progress";
        m_model.sliders.push_back(e);
    }

    void AddToggles() {
        for (size_t i = 0; i < kOptions.size(); ++i) {
            const Toggle& o = kOptions[i];
            const QRect& r = m_layout.options[i];
            const std::string image = Add(
                o.file, ButtonPainter::ToggleStrip(m_theme, true, QString::fromLatin1(o.text), Under(r)));
            m_model.options.push_back({o.name, image, r, o.tip, false, o.checked});
        }
        const QRect& r = m_layout.check;
        const std::string image = Add(
            kCheck.file, ButtonPainter::ToggleStrip(m_theme, false, QString::fromLatin1(kCheck.text), Under(r)));
        m_model.checks.push_back({kCheck.name, image, r, kCheck.tip, false, kCheck.checked});
    }

    void AddLabels() {
        m_model.labels.push_back({"LABEL_TIME", m_layout.time, "00:00:00/02:00:00",
                                  "DejaVu Sans Mono", 10, m_theme.accent});
        m_model.labels.push_back({"LABEL_MODE", m_layout.modeLabel, "Output format",
                                  m_theme.captionFace, 10, m_theme.textDim});
    }

    SkinScrollBarFiles AddScrollBar() {
        const auto pictures = BarPainter::ScrollBar(m_theme, m_layout.scrollBarWidth);
        SkinScrollBarFiles files;
        for (size_t i = 0; i < files.size(); ++i) files[i] = Add(kScrollBarFiles[i], pictures[i]);
        return files;
    }

    const SkinTheme& m_theme;
    SkinLayout m_layout;
    QImage m_background;
    SkinModel m_model;
};

}  // namespace

SkinModel ThemeBuilder::Build(const SkinTheme& theme) { return Assembler(theme).Build(); }
