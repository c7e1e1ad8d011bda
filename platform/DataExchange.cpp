#include "DataExchange.h"

#include <QLineEdit>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "Services.h"

namespace platform {

namespace {

constexpr int kMaxChars = 31;

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// The part of text that is read: the first 31 characters without surrounding blanks.
QString Trimmed(const QString& text) {
    const QString head = text.left(kMaxChars);
    int begin = 0, end = int(head.size());
    while (begin < end && IsBlank(head[begin])) ++begin;
    while (end > begin && IsBlank(head[end - 1])) --end;
    return head.mid(begin, end - begin);
}

std::optional<int64_t> ParseInteger(const QString& text, int64_t min, int64_t max) {
    const QString t = Trimmed(text);
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        negative = t[i++] == QLatin1Char('-');
    if (i >= t.size()) return std::nullopt;
    int64_t value = 0;
    for (; i < t.size(); ++i) {
        if (!IsDigit(t[i])) return std::nullopt;
        value = value * 10 + (t[i].unicode() - '0');
        if (value > max + 1) return std::nullopt;  // far out of range; stop before overflow
    }
    if (negative) value = -value;
    // A zero counts only when written as one: "-0" and "+0" are rejected as the platform does.
    if (value == 0 && t[0] != QLatin1Char('0')) return std::nullopt;
    if (value < min || value > max) return std::nullopt;
    return value;
}

}  // namespace

std::optional<int32_t> ParseInt32(const QString& text) {
    auto v = ParseInteger(text, std::numeric_limits<int32_t>::min(),
                          std::numeric_limits<int32_t>::max());
    if (!v) return std::nullopt;
    return static_cast<int32_t>(*v);
}

std::optional<int16_t> ParseInt16(const QString& text) {
    auto v = ParseInteger(text, std::numeric_limits<int16_t>::min(),
                          std::numeric_limits<int16_t>::max());
    if (!v) return std::nullopt;
    return static_cast<int16_t>(*v);
}

std::optional<float> ParseFloat(const QString& text) {
    const QString t = Trimmed(text);
    // Only the plain decimal form; no "inf", "nan" or hexadecimal.
    int i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) ++i;
    int digits = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
    if (i < t.size() && t[i] == QLatin1Char('.')) {
        ++i;
        while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ++i;
        if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) ++i;
        int exponentDigits = 0;
        while (i < t.size() && IsDigit(t[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != t.size()) return std::nullopt;

    // from_chars ignores the locale (unlike strtod) but takes no leading "+".
    const std::string s = t.mid(t[0] == QLatin1Char('+') ? 1 : 0).toStdString();
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Underflow reads as zero, overflow is not a number for a float field.
        if (std::abs(value) > 1.0) return std::nullopt;
        value = 0;
    } else if (ec != std::errc() || end != s.data() + s.size()) {
        return std::nullopt;
    }
    if (value == 0 && t[0] != QLatin1Char('0')) return std::nullopt;
    if (!std::isfinite(value) || std::abs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(value);
}

QString FormatFloat(float value) { return QString::number(double(value), 'g', 6); }

int LeadingInt(const QString& text) {
    int i = 0;
    while (i < text.size() && text[i].isSpace()) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');
    int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > std::numeric_limits<int>::max()) {
            value = std::numeric_limits<int>::max();
            break;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

DataExchange::DataExchange(QWidget* dialog, bool saveAndValidate)
    : m_dialog(dialog), m_save(saveAndValidate) {}

void DataExchange::Fail(QLineEdit* edit, const char* message) {
    m_failed = true;
    ShowMessage(m_dialog, QString::fromLatin1(message), MsgButtons::Ok, MsgIcon::Exclamation);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void DataExchange::Text(QLineEdit* edit, int32_t& value) {
    if (Skip(edit)) return;
    if (!m_save) {
        edit->setText(QString::number(value));
    } else if (auto v = ParseInt32(edit->text())) {
        value = *v;
    } else {
        Fail(edit, kMsgParseInt);
    }
}

void DataExchange::Text(QLineEdit* edit, int16_t& value) {
    if (Skip(edit)) return;
    if (!m_save) {
        edit->setText(QString::number(value));
    } else if (auto v = ParseInt16(edit->text())) {
        value = *v;
    } else {
        Fail(edit, kMsgParseInt);
    }
}

void DataExchange::Text(QLineEdit* edit, float& value) {
    if (Skip(edit)) return;
    if (!m_save) {
        edit->setText(FormatFloat(value));
    } else if (auto v = ParseFloat(edit->text())) {
        value = *v;
    } else {
        Fail(edit, kMsgParseReal);
    }
}

void DataExchange::Text(QLineEdit* edit, QString& value) {
    if (Skip(edit)) return;
    if (m_save)
        value = edit->text();
    else
        edit->setText(value);
}

}  // namespace platform
