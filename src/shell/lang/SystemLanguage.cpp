#include "shell/lang/SystemLanguage.h"

#include <mutex>

namespace vantor {

namespace {

constexpr unsigned kChineseSimplified = 0x0804;
constexpr unsigned kEnglishUnitedStates = 0x0409;
constexpr unsigned kPrimaryEnglish = 0x09;
constexpr unsigned kPrimaryMask = 0x3FF;

constexpr unsigned Id(unsigned primary, unsigned sub) { return (sub << 10) | primary; }

struct LanguageRow {
    QLocale::Language language;
    unsigned primary;
};

// Primary language ids; the sub-language "default" (1) unless the territory table knows better.
constexpr LanguageRow kLanguages[] = {
    {QLocale::Arabic, 0x01},     {QLocale::Bulgarian, 0x02},  {QLocale::Catalan, 0x03},
    {QLocale::Chinese, 0x04},    {QLocale::Czech, 0x05},      {QLocale::Danish, 0x06},
    {QLocale::German, 0x07},     {QLocale::Greek, 0x08},      {QLocale::English, 0x09},
    {QLocale::Spanish, 0x0A},    {QLocale::Finnish, 0x0B},    {QLocale::French, 0x0C},
    {QLocale::Hebrew, 0x0D},     {QLocale::Hungarian, 0x0E},  {QLocale::Icelandic, 0x0F},
    {QLocale::Italian, 0x10},    {QLocale::Japanese, 0x11},   {QLocale::Korean, 0x12},
    {QLocale::Dutch, 0x13},      {QLocale::NorwegianBokmal, 0x14},
    {QLocale::Polish, 0x15},     {QLocale::Portuguese, 0x16}, {QLocale::Romanian, 0x18},
    {QLocale::Russian, 0x19},    {QLocale::Croatian, 0x1A},   {QLocale::Slovak, 0x1B},
    {QLocale::Swedish, 0x1D},    {QLocale::Thai, 0x1E},       {QLocale::Turkish, 0x1F},
    {QLocale::Indonesian, 0x21}, {QLocale::Ukrainian, 0x22},  {QLocale::Vietnamese, 0x2A},
    {QLocale::Hindi, 0x39},      {QLocale::Malay, 0x3E},
};

struct TerritoryRow {
    QLocale::Language language;
    QLocale::Territory territory;
    unsigned id;
};

constexpr TerritoryRow kTerritories[] = {
    {QLocale::Chinese, QLocale::China, 0x0804},
    {QLocale::Chinese, QLocale::Taiwan, 0x0404},
    {QLocale::Chinese, QLocale::HongKong, 0x0C04},
    {QLocale::Chinese, QLocale::Singapore, 0x1004},
    {QLocale::Chinese, QLocale::Macau, 0x1404},
    {QLocale::English, QLocale::UnitedStates, 0x0409},
    {QLocale::English, QLocale::UnitedKingdom, 0x0809},
    {QLocale::English, QLocale::Australia, 0x0C09},
    {QLocale::English, QLocale::Canada, 0x1009},
    {QLocale::English, QLocale::NewZealand, 0x1409},
    {QLocale::English, QLocale::Ireland, 0x1809},
    {QLocale::English, QLocale::SouthAfrica, 0x1C09},
    {QLocale::English, QLocale::Jamaica, 0x2009},
    {QLocale::English, QLocale::Bahamas, 0x2409},
    {QLocale::English, QLocale::Barbados, 0x2409},
    {QLocale::English, QLocale::Belize, 0x2809},
    {QLocale::English, QLocale::TrinidadAndTobago, 0x2C09},
    {QLocale::English, QLocale::Zimbabwe, 0x3009},
    {QLocale::English, QLocale::Philippines, 0x3409},
    {QLocale::English, QLocale::India, 0x4009},
    {QLocale::English, QLocale::Malaysia, 0x4409},
    {QLocale::English, QLocale::Singapore, 0x4809},
    {QLocale::German, QLocale::Germany, 0x0407},
    {QLocale::German, QLocale::Switzerland, 0x0807},
    {QLocale::German, QLocale::Austria, 0x0C07},
    {QLocale::German, QLocale::Luxembourg, 0x1007},
    {QLocale::German, QLocale::Liechtenstein, 0x1407},
    {QLocale::French, QLocale::France, 0x040C},
    {QLocale::French, QLocale::Belgium, 0x080C},
    {QLocale::French, QLocale::Canada, 0x0C0C},
    {QLocale::French, QLocale::Switzerland, 0x100C},
    {QLocale::Spanish, QLocale::Spain, 0x0C0A},
    {QLocale::Spanish, QLocale::Mexico, 0x080A},
    {QLocale::Portuguese, QLocale::Brazil, 0x0416},
    {QLocale::Portuguese, QLocale::Portugal, 0x0816},
    {QLocale::Dutch, QLocale::Belgium, 0x0813},
};

std::mutex& OverrideMutex() {
    static std::mutex mutex;
    return mutex;
}

std::optional<QLocale>& OverrideSlot() {
    static std::optional<QLocale> locale;
    return locale;
}

}  // namespace

unsigned WindowsLanguageId(const QLocale& locale) {
    if (locale.language() == QLocale::C) {
        return kEnglishUnitedStates;
    }
    for (const TerritoryRow& row : kTerritories) {
        if (row.language == locale.language() && row.territory == locale.territory()) {
            return row.id;
        }
    }
    for (const LanguageRow& row : kLanguages) {
        if (row.language == locale.language()) {
            return Id(row.primary, 1);
        }
    }
    return 0;
}

unsigned SystemLanguageId() {
    return WindowsLanguageId(SystemLocaleOverride().value_or(QLocale::system()));
}

void SetSystemLocaleOverride(std::optional<QLocale> locale) {
    std::lock_guard lock(OverrideMutex());
    OverrideSlot() = std::move(locale);
}

std::optional<QLocale> SystemLocaleOverride() {
    std::lock_guard lock(OverrideMutex());
    return OverrideSlot();
}

unsigned SupportedLanguageOf(unsigned systemLanguageId) {
    if (systemLanguageId == 0x0C04) {
        return kChineseSimplified;
    }
    // Every English variant, also those newer than the classic list (India, Singapore, …).
    if ((systemLanguageId & kPrimaryMask) == kPrimaryEnglish) {
        return kEnglishUnitedStates;
    }
    if (systemLanguageId == kEnglishUnitedStates || systemLanguageId == kChineseSimplified) {
        return systemLanguageId;
    }
    return kChineseSimplified;
}

}  // namespace vantor
