#include "skin/SkinDescription.h"

#include "skin/CIniFile.h"

namespace {

// A field read from an entry by its type; the parsers below list their fields in the order
// Skin.ini writes them.
void Read(SkinEntry& e, std::string& text) { text = e.NextField(); }
void Read(SkinEntry& e, SkinRect& rect) { rect = e.ParseRect(); }
void Read(SkinEntry& e, int& number) { number = e.NextInt(); }
void Read(SkinEntry& e, uint32_t& colour) { colour = e.NextColour(); }
void Read(SkinEntry& e, bool& flag) { flag = e.NextFlag(); }
void Read(SkinEntry& e, SkinListColourData& c) {
    for (uint32_t* colour : {&c.back, &c.text, &c.selectedBack, &c.selectedText}) Read(e, *colour);
}
void Read(SkinEntry& e, SkinScrollBarFields& bar) {
    for (std::string& field : bar) Read(e, field);
}
// Two fields that are not flags: an edit box is enabled by exactly "TRUE", a slider is
// vertical when its orientation starts with "V".
struct ExactlyTrue { bool& value; };
void Read(SkinEntry& e, ExactlyTrue f) { f.value = e.NextField() == "TRUE"; }
struct StartsWithV { bool& value; };
void Read(SkinEntry& e, StartsWithV f) {
    const std::string text = e.NextField();
    f.value = !text.empty() && text[0] == 'V';
}

template <typename... Fields>
void ReadFields(SkinEntry& e, Fields&&... fields) {
    (Read(e, std::forward<Fields>(fields)), ...);
}

// Buttons, option buttons and check boxes: the two-state ones add whether they start checked.
void ReadButtons(SkinEntry& e, std::vector<SkinButtonData>& list, bool twoState) {
    SkinButtonData& b = list.emplace_back();
    ReadFields(e, b.name, b.image, b.rect, b.tip, b.toggle);
    if (twoState) Read(e, b.checked);
}

SkinLabelData ReadLabel(SkinEntry& e) {
    SkinLabelData l;
    ReadFields(e, l.name, l.rect, l.text, l.face, l.points, l.colour);
    return l;
}

struct SectionParser {
    const char* section;
    const char* key;  // nullptr: a numbered section, keys 1..N
    void (*parse)(SkinEntry&, SkinDescription&);
};

const SectionParser kSections[] = {
    {"CONTROL", "CONTROL", [](SkinEntry& e, SkinDescription& d) { Read(e, d.control.emplace()); }},
    {"ICON", "ICON",
     [](SkinEntry& e, SkinDescription& d) {
         SkinIconData& icon = d.icon.emplace();
         ReadFields(e, icon.image, icon.rect);
     }},
    {"CAPTION", "CAPTION",
     [](SkinEntry& e, SkinDescription& d) {
         d.caption = ReadLabel(e);  // its name field is there, unused
         d.caption->name.clear();
     }},
    {"BUTTONINFO", nullptr, [](SkinEntry& e, SkinDescription& d) { ReadButtons(e, d.buttons, false); }},
    {"OPTIONINFO", nullptr, [](SkinEntry& e, SkinDescription& d) { ReadButtons(e, d.options, true); }},
    {"CHECKINFO", nullptr, [](SkinEntry& e, SkinDescription& d) { ReadButtons(e, d.checks, true); }},
    {"LABELINFO", nullptr, [](SkinEntry& e, SkinDescription& d) { d.labels.push_back(ReadLabel(e)); }},
    {"SLIDERINFO", nullptr,
     [](SkinEntry& e, SkinDescription& d) {
         SkinSliderData& s = d.sliders.emplace_back();
         ReadFields(e, s.name, s.channel, s.thumb, s.activeThumb, s.rect, StartsWithV{s.vertical},
                    s.position, s.tip);
     }},
    {"EDITBOXINFO", nullptr,
     [](SkinEntry& e, SkinDescription& d) {
         SkinEditData& edit = d.edits.emplace_back();
         ReadFields(e, edit.name, edit.rect, edit.back, edit.text, edit.frame, ExactlyTrue{edit.enabled});
     }},
    {"LISTBOXINFO", nullptr,
     [](SkinEntry& e, SkinDescription& d) {
         SkinListData& l = d.lists.emplace_back();
         ReadFields(e, l.name, l.rect, l.colours, l.bar);
     }},
    {"COMBOBOXINFO", nullptr,
     [](SkinEntry& e, SkinDescription& d) {
         SkinComboData& c = d.combos.emplace_back();
         ReadFields(e, c.name, c.rect, c.strip, c.editBack, c.editText, c.editFrame, c.list, c.bar);
     }},
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
