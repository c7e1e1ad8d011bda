// Dialog data exchange: moves values between a dialog's members and its edit boxes, with the
// reading rules every settings dialog shares.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class QLineEdit;
class QWidget;

namespace platform {

inline constexpr const char* kMsgParseInt = "Please enter an integer.";
inline constexpr const char* kMsgParseReal = "Please enter a number.";

// At most the first 31 characters count; blanks and tabs may surround the number; an empty
// or unparsable text is not a number, and neither is a 0 whose text does not start with "0".
std::optional<int32_t> ParseInt32(const QString& text);
std::optional<int16_t> ParseInt16(const QString& text);
// Plain decimal reals (sign, digits, point, exponent) that fit a float.
std::optional<float> ParseFloat(const QString& text);
// Up to 6 significant digits in the shortest general form: 25 -> "25", 29.97 -> "29.97".
QString FormatFloat(float value);
// The leading decimal number of a text, 0 when it has none ("12 pt" -> 12).
int LeadingInt(const QString& text);

// One exchange in one direction. A failed read shows the platform's message, puts the
// focus on the offending edit with its text selected, and turns every later call into a
// no-op, so later values keep what they held.
class DataExchange {
public:
    DataExchange(QWidget* dialog, bool saveAndValidate);

    bool SaveAndValidate() const { return m_save; }
    bool Failed() const { return m_failed; }

    void Text(QLineEdit* edit, int32_t& value);
    void Text(QLineEdit* edit, int16_t& value);
    void Text(QLineEdit* edit, float& value);
    void Text(QLineEdit* edit, QString& value);

private:
    void Fail(QLineEdit* edit, const char* message);
    bool Skip(QLineEdit* edit) const { return m_failed || !edit; }

    QWidget* m_dialog;
    bool m_save;
    bool m_failed = false;
};

}  // namespace platform
