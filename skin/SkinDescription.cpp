#include "skin/SkinDescription.h"

#include "skin/CIniFile.h"

namespace {

SkinButtonData ReadButton(SkinEntry& e, bool twoState) {
    SkinButtonData b;
    b.name = e.NextField();
    b.image = e.NextField();
    b.rect = e.ParseRect();
    b.tip = e.NextField();
    b.toggle = e.NextFlag();
    if (twoState) b.checked = e.NextFlag();
    return b;
}

SkinLabelData ReadLabel(SkinEntry& e) {
    SkinLabelData l;
    l.name = e.NextField();
    l.rect = e.ParseRect();
    l.text = e.NextField();
    l.face = e.NextField();
    l.points = e.NextInt();
    l.colour = e.NextColour();
    return l;
}

SkinListColourData ReadListColours(SkinEntry& e) {
    SkinListColourData c;
    c.back = e.NextColour();
    c.text = e.NextColour();
    c.selectedBack = e.NextColour();
    c.selectedText = e.NextColour();
    return c;
}

SkinScrollBarFields ReadScrollBar(SkinEntry& e) {
    SkinScrollBarFields bar;
    for (std::string& field : bar) field = e.NextField();
    return bar;
}

void ParseButton(SkinEntry& e, SkinDescription& d) { d.buttons.push_back(ReadButton(e, false)); }
void ParseOption(SkinEntry& e, SkinDescription& d) { d.options.push_back(ReadButton(e, true)); }
void ParseCheck(SkinEntry& e, SkinDescription& d) { d.checks.push_back(ReadButton(e, true)); }
void ParseLabel(SkinEntry& e, SkinDescription& d) { d.labels.push_back(ReadLabel(e)); }

void ParseSlider(SkinEntry& e, SkinDescription& d) {
    SkinSliderData s;
    s.name = e.NextField();
    s.channel = e.NextField();
    s.thumb = e.NextField();
    s.activeThumb = e.NextField();
    s.rect = e.ParseRect();
    const std::string orientation = e.NextField();
    s.vertical = !orientation.empty() && orientation[0] == 'V';
    s.position = e.NextInt();
    s.tip = e.NextField();
    d.sliders.push_back(std::move(s));
}

void ParseEdit(SkinEntry& e, SkinDescription& d) {
    SkinEditData edit;
    edit.name = e.NextField();
    edit.rect = e.ParseRect();
    edit.back = e.NextColour();
    edit.text = e.NextColour();
    edit.frame = e.NextColour();
    edit.enabled = e.NextField() == "TRUE";
    d.edits.push_back(std::move(edit));
}

void ParseList(SkinEntry& e, SkinDescription& d) {
    SkinListData l;
    l.name = e.NextField();
    l.rect = e.ParseRect();
    l.colours = ReadListColours(e);
    l.bar = ReadScrollBar(e);
    d.lists.push_back(std::move(l));
}

void ParseCombo(SkinEntry& e, SkinDescription& d) {
    SkinComboData c;
    c.name = e.NextField();
    c.rect = e.ParseRect();
    c.strip = e.NextField();
    c.editBack = e.NextColour();
    c.editText = e.NextColour();
    c.editFrame = e.NextColour();
    c.list = ReadListColours(e);
    c.bar = ReadScrollBar(e);
    d.combos.push_back(std::move(c));
}

void ParseControl(SkinEntry& e, SkinDescription& d) { d.control = e.ParseRect(); }
void ParseIcon(SkinEntry& e, SkinDescription& d) {
    SkinIconData icon;
    icon.image = e.NextField();
    icon.rect = e.ParseRect();
    d.icon = std::move(icon);
}
void ParseCaption(SkinEntry& e, SkinDescription& d) {
    d.caption = ReadLabel(e);  // its name field is there, unused
    d.caption->name.clear();
}

struct SectionParser {
    const char* section;
    const char* key;  // nullptr: a numbered section, keys 1..N
    void (*parse)(SkinEntry&, SkinDescription&);
};

constexpr SectionParser kSections[] = {
    {"CONTROL", "CONTROL", ParseControl},
    {"ICON", "ICON", ParseIcon},
    {"CAPTION", "CAPTION", ParseCaption},
    {"BUTTONINFO", nullptr, ParseButton},
    {"SLIDERINFO", nullptr, ParseSlider},
    {"OPTIONINFO", nullptr, ParseOption},
    {"CHECKINFO", nullptr, ParseCheck},
    {"LABELINFO", nullptr, ParseLabel},
    {"EDITBOXINFO", nullptr, ParseEdit},
    {"LISTBOXINFO", nullptr, ParseList},
    {"COMBOBOXINFO", nullptr, ParseCombo},
};

void ParseValue(const std::string& value, const SectionParser& p, SkinDescription& d) {
    if (value.empty()) return;
    SkinEntry entry(value);
    p.parse(entry, d);
}

}  // namespace

SkinDescription ReadSkinDescription(const CIniFile& ini) {
    SkinDescription d;
    d.background = ini.ReadString("Screen", "Main", "");
    // The key colour is the whole value, not a field of an entry.
    const std::string key = ini.ReadString("TRANSPARENT", "COLOR", "");
    if (!key.empty()) d.transparent = SkinEntry::ParseColor(key);
    for (const SectionParser& p : kSections) {
        if (p.key) {
            ParseValue(ini.ReadString(p.section, p.key, ""), p, d);
            continue;
        }
        std::vector<std::string> keys;
        ini.ReadSectionKeys(p.section, keys);
        for (size_t k = 1; k <= keys.size(); ++k)
            ParseValue(ini.ReadString(p.section, std::to_string(k), ""), p, d);
    }
    return d;
}
