// set-lighting P FIELD=VALUE...: each field written as the lighting panel writes it, all of
// them in one group. Every value is checked before anything is sent.

#include "CtlExit.h"
#include "commands/Commands.h"

#include "device/CommandResult.h"
#include "device/StatusCommands.h"
#include "keymodel/IntegerFormat.h"
#include "lighting/ColourValue.h"
#include "lighting/LightingRead.h"
#include "lighting/LightingWrites.h"

#include <optional>

namespace vantor::ctl {

namespace {

struct Field {
    QString name;
    QString value;
};

}  // namespace

int RunSetLighting(CtlContext& context) {
    int code = kExitOk;
    int profile = 0;
    if (context.Args().size() < 2) {
        return context.Fail(kExitUsage, QStringLiteral("expected: set-lighting P FIELD=VALUE..."));
    }
    if (!context.ProfileArgument(0, &profile, &code)) return code;

    std::vector<Field> fields;
    std::optional<int> effect;
    std::optional<bool> random;
    for (const QString& arg : context.Args().mid(1)) {
        const int eq = arg.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            return context.Fail(kExitUsage, QStringLiteral("'%1' is not FIELD=VALUE").arg(arg));
        }
        fields.push_back({arg.left(eq).toLower(), arg.mid(eq + 1)});
    }

    // Check every value and build the writes; the effect's needs the current random flag.
    LightingWrites writes;
    struct EffectAt {
        size_t index;
        std::optional<bool> random;
    };
    std::vector<EffectAt> effectAt;
    for (const Field& f : fields) {
        const auto bad = [&](const char* range) {
            return context.Fail(kExitUsage, QStringLiteral("%1=%2: %3 expected")
                                                .arg(f.name, f.value, QLatin1String(range)));
        };
        const auto append = [&writes](const LightingWrites& more) {
            writes.insert(writes.end(), more.begin(), more.end());
        };
        const auto number = [&](int low, int high) {
            return context.Decimal(f.value, f.name, low, high, &code);
        };
        if (f.name == QLatin1String("effect")) {
            const auto v = number(1, 255);
            if (!v) return code;
            if (effect) return context.Fail(kExitUsage, QStringLiteral("effect given twice"));
            effect = *v;
            // A placeholder, filled once the keyboard's flag is known: the effect carries the
            // random flag as it stands at this point of the line, as on the panel.
            effectAt.push_back({writes.size(), random});
            writes.push_back({});
        } else if (f.name == QLatin1String("brightness")) {
            const auto v = number(0, kMaxBrightness);
            if (!v) return code;
            append(BrightnessWrites(profile, uint8_t(*v)));
        } else if (f.name == QLatin1String("speed")) {
            const auto v = number(0, kMaxSpeed);
            if (!v) return code;
            append(SpeedWrites(profile, uint8_t(*v)));
        } else if (f.name == QLatin1String("direction")) {
            // By name, by the name `lighting` prints (0xff), or by the byte's decimal value.
            const QString d = f.value.toLower();
            const std::optional<int64_t> byte = ParseDecimal(d, 0, 255);
            if (d == QLatin1String("left") || d == QLatin1String("0xff") || byte == kDirectionFirst) {
                append(DirectionWrites(profile, kDirectionFirst));
            } else if (d == QLatin1String("right") || byte == kDirectionSecond) {
                append(DirectionWrites(profile, kDirectionSecond));
            } else {
                return bad("left (0xff or 255) or right (0)");
            }
        } else if (f.name == QLatin1String("random")) {
            const auto v = number(0, 1);
            if (!v) return code;
            random = *v != 0;
            append(RandomWrites(profile, *random));
        } else if (f.name == QLatin1String("colour") || f.name == QLatin1String("color")) {
            const std::optional<Rgb> colour = RgbFromHex(f.value);
            if (!colour) return bad("RRGGBB in hex");
            random = false;
            append(ColourWrites(profile, colour->red, colour->green, colour->blue));
        } else if (f.name == QLatin1String("rate")) {
            const auto v = number(0, kMaxReportRate);
            if (!v) return code;
            append(ReportRateWrites(profile, uint8_t(*v)));
        } else if (f.name == QLatin1String("choice")) {
            const auto v = number(0, kMaxColourChoice);
            if (!v) return code;
            append(ColourChoiceWrites(profile, uint8_t(*v)));
        } else {
            return context.Fail(kExitUsage, QStringLiteral("unknown field '%1'").arg(f.name));
        }
    }

    DeviceLink* link = context.Connect(&code);
    if (link == nullptr) return code;
    if (effect) {
        // The panel lists only the effects the keyboard offers; the same holds here.
        StatusBlock status{};
        CommandResult result = ReadStatus(*link, &status);
        if (result != CommandResult::Ok) return context.FailCommand(result, QStringLiteral("read status"));
        QStringList offered;
        bool isOffered = false;
        for (size_t i = 0; i < kStatusEffectListSize; ++i) {
            if (const uint8_t e = status[kStatusEffectList + i]) {
                offered << QString::number(e);
                isOffered = isOffered || e == *effect;
            }
        }
        if (!isOffered) {
            return context.Fail(kExitUsage, QStringLiteral("effect %1 is not offered by this "
                                                           "keyboard (offered: %2)")
                                                .arg(*effect)
                                                .arg(offered.join(QLatin1Char(' '))));
        }
        bool blockRandom = false;
        if (EffectCarriesRandomFlag(uint8_t(*effect))) {
            LightingBlocks blocks{};
            result = ReadLightingBlocks(*link, &blocks);
            if (result != CommandResult::Ok)
                return context.FailCommand(result, QStringLiteral("read lighting"));
            blockRandom = blocks[size_t(profile)].randomColour != 0;
        }
        LightingWrites filled;
        size_t next = 0;
        for (size_t i = 0; i < writes.size(); ++i) {
            if (next < effectAt.size() && effectAt[next].index == i) {
                const bool flag = effectAt[next++].random.value_or(blockRandom);
                const LightingWrites e = EffectWrites(profile, uint8_t(*effect), flag);
                filled.insert(filled.end(), e.begin(), e.end());
            } else {
                filled.push_back(std::move(writes[i]));
            }
        }
        writes = std::move(filled);
    }
    const CommandResult result = SendLightingGroup(*link, writes);
    if (result != CommandResult::Ok) return context.FailCommand(result, QStringLiteral("write lighting"));
    context.Out() << "written: " << writes.size() << " field write(s) to profile " << profile
                  << '\n';
    return kExitOk;
}

}  // namespace vantor::ctl
