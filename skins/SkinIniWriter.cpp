#include "SkinIniWriter.h"

#include <QColor>
#include <QRect>

#include <cstdio>
#include <initializer_list>
#include <stdexcept>

#include "SkinModel.h"
#include "skin/SkinEntry.h"

namespace {

std::string Rect(const QRect& r) {
    // Skin rectangles end one past the last pixel.
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + "," +
           std::to_string(r.x() + r.width()) + "," + std::to_string(r.y() + r.height());
}

std::string Colour(const QColor& c) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X%02X%02X", c.red(), c.green(), c.blue());
    return text;
}

std::string Flag(bool on) { return on ? "TRUE" : "FALSE"; }

std::string Field(const std::string& text) {
    if (text.find(',') != std::string::npos)
        throw std::runtime_error("a skin field may not hold a comma: " + text);
    return text;
}

std::string Entry(std::initializer_list<std::string> fields) {
    std::string out;
    for (const std::string& f : fields) {
        if (!out.empty()) out += ",";
        out += f;
    }
    if (out.size() > SkinEntry::kMaxLength)
        throw std::runtime_error("skin entry longer than " + std::to_string(SkinEntry::kMaxLength) +
                                 " characters: " + out);
    return out;
}

std::string Bar(const SkinScrollBarFiles& files) {
    std::string out;
    for (const std::string& f : files) {
        if (!out.empty()) out += ',';
        out += Field(f);
    }
    return out;
}

class Sections {
public:
    void Open(const char* name) { m_text += std::string(m_text.empty() ? "" : "\r\n") + "[" + name + "]\r\n"; }
    void Value(const std::string& key, const std::string& value) { m_text += key + "=" + value + "\r\n"; }
    template <class T, class F>
    void Numbered(const char* name, const std::vector<T>& items, F&& entry) {
        if (items.empty()) return;
        Open(name);
        for (size_t i = 0; i < items.size(); ++i) Value(std::to_string(i + 1), entry(items[i]));
    }
    std::string m_text;
};

std::string Label(const SkinLabelEntry& l) {
    return Entry({Field(l.name), Rect(l.rect), Field(l.text), Field(l.face),
                  std::to_string(l.points), Colour(l.colour)});
}

}  // namespace

std::string SkinIniWriter::Write(const SkinModel& m) {
    Sections s;
    s.m_text = "; Capture Station skin \"" + m.title + "\"\r\n";
    s.Open("Screen");
    s.Value("Main", Field(m.background));
    s.Open("TRANSPARENT");
    s.Value("COLOR", Colour(QColor::fromRgb(m.key)));
    s.Open("CONTROL");
    s.Value("CONTROL", Entry({Rect(m.control)}));
    s.Open("ICON");
    s.Value("ICON", Entry({Field(m.icon), Rect(m.iconRect)}));
    s.Open("CAPTION");
    s.Value("CAPTION", Label(m.caption));

    s.Numbered("BUTTONINFO", m.buttons, [](const SkinButtonEntry& b) {
        return Entry({Field(b.name), Field(b.image), Rect(b.rect), Field(b.tip), Flag(b.toggle)});
    });
    s.Numbered("SLIDERINFO", m.sliders, [](const SkinSliderEntry& e) {
        return Entry({Field(e.name), Field(e.channel), Field(e.thumb), Field(e.activeThumb),
                      Rect(e.rect), e.vertical ? "VERTICAL" : "HORIZONTAL",
                      std::to_string(e.position), Field(e.tip)});
    });
    auto toggle = [](const SkinToggleEntry& e) {
        return Entry({Field(e.name), Field(e.image), Rect(e.rect), Field(e.tip), Flag(e.toggle),
                      Flag(e.checked)});
    };
    s.Numbered("OPTIONINFO", m.options, toggle);
    s.Numbered("CHECKINFO", m.checks, toggle);
    s.Numbered("LABELINFO", m.labels, Label);
    s.Numbered("EDITBOXINFO", m.edits, [](const SkinEditEntry& e) {
        return Entry({Field(e.name), Rect(e.rect), Colour(e.back), Colour(e.text), Colour(e.border),
                      Flag(e.enabled)});
    });
    s.Numbered("LISTBOXINFO", m.lists, [](const SkinListEntry& e) {
        return Entry({Field(e.name), Rect(e.rect), Colour(e.back), Colour(e.text), Colour(e.selBack),
                      Colour(e.selText), Bar(e.bar)});
    });
    s.Numbered("COMBOBOXINFO", m.combos, [](const SkinComboEntry& e) {
        return Entry({Field(e.name), Rect(e.rect), Field(e.button), Colour(e.editBack),
                      Colour(e.editText), Colour(e.editBorder), Colour(e.listBack), Colour(e.listText),
                      Colour(e.selBack), Colour(e.selText), Bar(e.bar)});
    });
    return s.m_text;
}
