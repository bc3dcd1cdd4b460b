#include "engine/FreeSpaceStatistics.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>

#include "model/Program.h"
#include "platform/Text.h"

namespace scorvane {

namespace {

// The largest whole number of minutes the time-left figure holds (four decimals in 64 bits).
constexpr double kMostMinutes = 922'337'203'685'477.0;

std::string ThousandsSeparator() {
    const char* separator = std::localeconv()->thousands_sep;
    return separator != nullptr && *separator != '\0' ? separator : ",";
}

}  // namespace

void StartStatistics(Program& program) {
    Form1& form = program.form1();
    form.ElapsedHours = form.ElapsedMinutes = form.ElapsedSeconds = 0;
    form.ElapsedTicks = 0;
    form.StatisticsStart = program.windows().MonotonicSeconds();
}

double UpdateElapsed(Program& program) {
    Form1& form = program.form1();
    if (form.StatisticsStart < 0) return 0;
    const double seconds = std::max(0.0, program.windows().MonotonicSeconds() - form.StatisticsStart);
    const auto whole = static_cast<std::int64_t>(std::floor(seconds));
    form.ElapsedSeconds = static_cast<std::int16_t>(whole % 60);
    form.ElapsedMinutes = static_cast<std::int16_t>(whole / 60 % 60);
    form.ElapsedHours = static_cast<std::int16_t>(std::min<std::int64_t>(whole / 3600, INT16_MAX));
    return seconds;
}

void Timer1_Timer(Program& program) {
    if (!program.IsDialogLoaded()) return;  // loading it would reset CancelFlag
    Form1& form = program.form1();
    Dialog& dialog = program.dialog();
    const auto& lang = program.Lang;

    ++form.ElapsedTicks;
    const double seconds = UpdateElapsed(program);
    dialog.Label1.caption = lang[Text::ElapsedHours] + SignedDecimal(form.ElapsedHours) + ", " + lang[Text::Minutes] +
                            SignedDecimal(form.ElapsedMinutes) + ", " + lang[Text::Seconds] +
                            SignedDecimal(form.ElapsedSeconds);

    const auto written = static_cast<double>(form.WrittenKb);
    if (seconds > 0) {
        const auto speed = static_cast<std::int64_t>(std::floor(written / seconds));
        dialog.Label3.caption = lang[Text::Speed] + ": " + DigitGroups(speed) + " Kb/sec";
    }

    // Bytes / 10,000,000 to four decimals: its count of ten-thousandths is the free space in kilobytes.
    const auto freeKb = static_cast<double>(form.ProgressTotal.tenThousandths);
    if (freeKb > 0 && written > 0) {
        // Impossible figures stay within what the estimate can hold instead of wrapping around.
        const double raw = std::clamp((freeKb / written - 1) * seconds / 60, -kMostMinutes, kMostMinutes);
        const double minutes = FixedPoint4::FromDouble(raw).ToDouble();
        const double wholeMinutes = std::floor(minutes);
        const double secondsLeft = std::nearbyint((minutes - wholeMinutes) * 60);
        dialog.Label4.caption = lang[Text::TimeLeft] + ": " + lang[Text::Minutes] +
                                SignedDecimal(static_cast<std::int64_t>(wholeMinutes)) + ", " + lang[Text::Seconds] +
                                SignedDecimal(static_cast<std::int64_t>(secondsLeft)) + " ";
    }

    dialog.Label6.caption = dialog.Label1.caption;
    dialog.Label7.caption = dialog.Label3.caption;
    dialog.Label10.caption = dialog.Label4.caption;
    program.windows().Yield();
}

std::string DigitGroups(std::int64_t value) {
    if (value == 0) return {};
    const std::uint64_t magnitude =
        value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    const std::string digits = std::to_string(magnitude);
    const std::string separator = ThousandsSeparator();
    std::string grouped = value < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
        grouped += digits[i];
    }
    return grouped;
}

std::string OneDecimal(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", value);  // the decimal separator of the user's locale
    return text;
}

std::string SignedDecimal(std::int64_t value) { return (value < 0 ? "" : " ") + std::to_string(value); }

}  // namespace scorvane
