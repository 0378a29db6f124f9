#pragma once

#include <QLocale>
#include <string>

#include "platform/run_time.h"

namespace loto {

// The locale that the program's texts follow: the named one, or the user's settings when the name
// is empty; a C or POSIX locale stands for the French forms.
[[nodiscard]] QLocale TextLocale(const std::string& name = {});

// The system's clock and the forms of a locale.
class SystemRunTime final : public RunTime {
public:
    explicit SystemRunTime(const QLocale& locale);

    [[nodiscard]] double MonotonicSeconds() override;
    [[nodiscard]] SystemTime Now() override;
    [[nodiscard]] LocalDateTime LocalTime(SystemTime moment) const override;
    [[nodiscard]] std::string DateText(LocalDateTime date) const override;
    [[nodiscard]] std::string_view DecimalSeparator() const override { return separator_; }

private:
    QLocale locale_;
    QString datePattern_;
    QString timePattern_;
    std::string separator_;
};

}  // namespace loto
