// Writes a skin model as Skin.ini text.
#pragma once

#include <string>

struct SkinModel;

class SkinIniWriter {
public:
    // Throws std::runtime_error for an entry the reader would misread: longer than an entry
    // may be, or with a comma inside a field.
    static std::string Write(const SkinModel& model);
};
