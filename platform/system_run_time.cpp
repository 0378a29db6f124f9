#include "platform/system_run_time.h"

#include <QDateTime>
#include <QRegularExpression>
#include <chrono>

namespace loto {
namespace {

// The short date with a four-digit year, as desktop settings show it.
QString ShortDatePattern(const QLocale& locale) {
    QString pattern = locale.dateFormat(QLocale::ShortFormat);
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    return pattern.replace(twoDigitYear, QStringLiteral("yyyy"));
}

// The long time without its time zone, with the brackets or comma that set the zone apart
// ("H:mm:ss (t)", "HH:mm:ss, t"), and with the day period of the locale's own data ("B", as in
// "Bh:mm:ss") read as the morning and afternoon marker that Qt knows ("AP").
QString TimeWithSecondsPattern(const QLocale& locale) {
    QString pattern = locale.timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("[\\s,]*[(\\[]?\\bt+\\b[)\\]]?"));
    static const QRegularExpression dayPeriod(QStringLiteral("\\bB(?=h)"));
    return pattern.remove(zone).replace(dayPeriod, QStringLiteral("AP")).trimmed();
}

// The locale's own digits, where it has its own (Arabic-Indic, Persian), as Latin ones: the
// patterns of the results write Latin digits with the locale's separators, and every figure of an
// output is in one system.
QString LatinDigits(QString text, const QLocale& locale) {
    const QString zero = locale.zeroDigit();
    if (zero.size() != 1 || zero.front() == u'0') {
        return text;
    }
    const char16_t first = zero.front().unicode();
    for (QChar& c : text) {
        if (c.unicode() >= first && c.unicode() < first + 10) {
            c = QChar(static_cast<char16_t>(u'0' + (c.unicode() - first)));
        }
    }
    return text;
}

}  // namespace

QLocale TextLocale(const std::string& name) {
    const QLocale locale = name.empty() ? QLocale::system() : QLocale(QString::fromStdString(name));
    if (locale.language() == QLocale::C) {
        return QLocale(QLocale::French, QLocale::France);
    }
    return locale;
}

SystemRunTime::SystemRunTime(const QLocale& locale)
    : locale_(locale),
      datePattern_(ShortDatePattern(locale)),
      timePattern_(TimeWithSecondsPattern(locale)),
      separator_(locale.decimalPoint().toStdString()) {}

double SystemRunTime::MonotonicSeconds() {
    using Seconds = std::chrono::duration<double>;
    return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

SystemTime SystemRunTime::Now() {
    return std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
}

LocalDateTime SystemRunTime::LocalTime(SystemTime moment) const {
    const QDateTime local =
        QDateTime::fromSecsSinceEpoch(moment.time_since_epoch().count(), Qt::LocalTime);
    const QDate date = local.date();
    const QTime time = local.time();
    const std::chrono::local_days day{std::chrono::year{date.year()} /
                                      static_cast<unsigned>(date.month()) /
                                      static_cast<unsigned>(date.day())};
    return day + std::chrono::seconds{time.msecsSinceStartOfDay() / 1000};
}

std::string SystemRunTime::DateText(LocalDateTime date) const {
    const auto day = std::chrono::floor<std::chrono::days>(date);
    const std::chrono::year_month_day ymd{day};
    const std::chrono::hh_mm_ss time{date - day};
    QString text = locale_.toString(
        QDate(static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
              static_cast<int>(static_cast<unsigned>(ymd.day()))),
        datePattern_);
    if (date != day) {
        const QTime clock(static_cast<int>(time.hours().count()),
                          static_cast<int>(time.minutes().count()),
                          static_cast<int>(time.seconds().count()));
        text += QLatin1Char(' ') + locale_.toString(clock, timePattern_);
    }
    return LatinDigits(text, locale_).toStdString();
}

}  // namespace loto
