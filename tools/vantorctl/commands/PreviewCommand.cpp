// preview EFFECT [--ticks N] [--backward] [--random] [--colour RRGGBB] [--seed S]: the lighting
// preview's ticks as numbers, as a window just switched to colour mode with EFFECT selected
// would paint them. Needs no keyboard.

#include "CtlExit.h"
#include "commands/Commands.h"

#include "lighting/ColourValue.h"
#include "lighting/PreviewEngine.h"

#include <optional>

namespace vantor::ctl {

namespace {

constexpr const char* kSynopsis =
    "preview EFFECT [--ticks N] [--backward] [--random] [--colour RRGGBB] [--seed S]";
constexpr int kMaxTicks = 1000000;

void PrintFrame(QTextStream& out, int tick, const PreviewFrame& frame) {
    QString line = QStringLiteral("tick %1:").arg(tick);
    frame.ForEachTouched([&line](int id, const PreviewFrame::Key& key) {
        line += QStringLiteral(" %1=").arg(id);
        if (key.look == PreviewFrame::Look::Plain) {
            line += QLatin1String("plain");
        } else {
            const uint32_t rgb = uint32_t(key.colour.red) << 16 | uint32_t(key.colour.green) << 8 |
                                 key.colour.blue;
            line += QStringLiteral("%1").arg(rgb, 6, 16, QLatin1Char('0'));
        }
    });
    out << line << '\n';
}

}  // namespace

int RunPreview(CtlContext& context) {
    const QStringList& args = context.Args();
    const auto usage = [&context](const QString& why) {
        return context.Fail(kExitUsage,
                            QStringLiteral("%1; expected: %2").arg(why, QLatin1String(kSynopsis)));
    };
    std::optional<int> effect;
    int ticks = 1;
    PreviewInput input;  // forward, single colour white
    std::optional<uint32_t> seed;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        QString error;
        if (arg == QLatin1String("--backward")) {
            input.direction = kDirectionSecond;
        } else if (arg == QLatin1String("--random")) {
            input.randomColour = true;
        } else if (arg == QLatin1String("--ticks")) {
            const auto value = DecimalArgument(args.value(++i), arg, 1, kMaxTicks, &error);
            if (!value) return usage(error);
            ticks = int(*value);
        } else if (arg == QLatin1String("--colour") || arg == QLatin1String("--color")) {
            const std::optional<Rgb> colour = hasValue ? RgbFromHex(args[++i]) : std::nullopt;
            if (!colour) return usage(QStringLiteral("%1 needs RRGGBB in hex").arg(arg));
            input.colour = *colour;
        } else if (arg == QLatin1String("--seed")) {
            const auto value = DecimalArgument(args.value(++i), arg, 0, UINT32_MAX, &error);
            if (!value) return usage(error);
            seed = uint32_t(*value);
        } else if (arg.startsWith(QLatin1String("--"))) {
            return usage(QStringLiteral("unknown option %1").arg(arg));
        } else if (effect) {
            return usage(QStringLiteral("one effect only"));
        } else {
            const auto value = DecimalArgument(arg, QStringLiteral("EFFECT"), 0, 255, &error);
            if (!value) return usage(error);
            effect = int(*value);
        }
    }
    if (!effect) return usage(QStringLiteral("no effect given"));
    input.effect = uint8_t(*effect);

    // Without a seed, random hues come from the time in seconds, as in the window.
    PreviewEngine engine(seed ? PreviewRandom([s = *seed] { return s; }) : PreviewRandom());
    for (int t = 1; t <= ticks; ++t) PrintFrame(context.Out(), t, engine.Tick(input));
    return kExitOk;
}

}  // namespace vantor::ctl
