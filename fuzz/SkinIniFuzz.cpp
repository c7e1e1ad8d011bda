// Feeds arbitrary text to the Skin.ini reader: once through the description the skin loader
// builds from, then every section by hand (key enumeration, values of keys 1..N, and every
// field kind of an entry in turn), which reaches field orders no section has.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/CIniFile.h"
#include "skin/SkinDescription.h"
#include "skin/SkinEntry.h"

// Where the reads' sum goes, so that they are not optimised away.
volatile long g_keep = 0;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CIniFile ini = CIniFile::FromText(std::string(reinterpret_cast<const char*>(data), size));
    static const char* const kSections[] = {
        "Screen", "TRANSPARENT", "CONTROL", "ICON", "CAPTION", "BUTTONINFO", "SLIDERINFO",
        "OPTIONINFO", "CHECKINFO", "LABELINFO", "EDITBOXINFO", "LISTBOXINFO", "COMBOBOXINFO"};
    const SkinDescription description = ReadSkinDescription(ini);
    long sink = long(description.buttons.size() + description.labels.size() + description.combos.size());
    for (const SkinSliderData& slider : description.sliders)
        sink += long(FormatElapsed(slider.position).size());
    for (const char* section : kSections) {
        std::vector<std::string> keys;
        ini.ReadSectionKeys(section, keys);
        keys.push_back(section);  // the single-value sections use their own name as key
        for (size_t k = 0; k <= keys.size(); ++k) {
            const std::string key = k < keys.size() ? keys[k] : std::to_string(k);
            SkinEntry entry(ini.ReadString(section, key, ""));
            for (int field = 0; field < 21; ++field) {
                switch (field % 5) {
                case 0: sink += long(entry.NextField().size()); break;
                case 1: sink += entry.ParseRect().width(); break;
                case 2: sink += entry.NextColour(); break;
                case 3: sink += entry.NextFlag(); break;
                default: sink += long(FormatElapsed(entry.NextInt()).size()); break;
                }
            }
        }
    }
    g_keep = sink;
    return 0;
}
