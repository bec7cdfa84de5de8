// lighting P: profile P's lighting block, field by field.

#include "CtlExit.h"
#include "commands/Commands.h"
#include "commands/CtlJson.h"

#include "device/CommandResult.h"
#include "lighting/LightingRead.h"

namespace vantor::ctl {

namespace {

QString Rgb(const uint8_t* c) {
    return QStringLiteral("%1%2%3")
        .arg(c[0], 2, 16, QLatin1Char('0'))
        .arg(c[1], 2, 16, QLatin1Char('0'))
        .arg(c[2], 2, 16, QLatin1Char('0'));
}

}  // namespace

int RunLighting(CtlContext& context) {
    int code = kExitOk;
    int profile = 0;
    if (!context.ExpectArguments(1, "lighting P", &code) ||
        !context.ProfileArgument(0, &profile, &code)) {
        return code;
    }
    DeviceLink* link = context.Connect(&code);
    if (link == nullptr) return code;
    LightingBlocks blocks{};
    const CommandResult result = ReadLightingBlocks(*link, &blocks);
    if (result != CommandResult::Ok) return context.FailCommand(result, QStringLiteral("read lighting"));

    const LightingBlock& b = blocks[size_t(profile)];
    if (context.Json()) {
        WriteJson(context,
                  QJsonObject{{"profile", profile},
                              {"effect", int(b.effect)},
                              {"brightness", int(b.brightness)},
                              {"speed", int(b.speed)},
                              {"direction", b.direction == kDirectionFirst ? "left" : "right"},
                              {"directionCode", int(b.direction)},
                              {"random", b.randomColour != 0},
                              {"colour", Rgb(b.colour)},
                              {"rate", int(b.reportRate)},
                              {"choice", int(b.colourChoice)},
                              {"effect7Random", int(b.effect7Random)},
                              {"trigger", int(b.triggerMode)},
                              {"secondColour", Rgb(b.secondColour)},
                              {"secondRandom", bool(b.secondRandom)},
                              {"thirdColour", Rgb(b.thirdColour)},
                              {"thirdRandom", bool(b.thirdRandom)}});
        return kExitOk;
    }
    QTextStream& out = context.Out();
    out << "effect: " << int(b.effect) << '\n'
        << "brightness: " << int(b.brightness) << '\n'
        << "speed: " << int(b.speed) << '\n'
        << "direction: "
        << (b.direction == kDirectionFirst ? QStringLiteral("left (0xff)")
                                           : QStringLiteral("right (0x%1)")
                                                 .arg(b.direction, 2, 16, QLatin1Char('0')))
        << '\n'
        << "random: " << (b.randomColour != 0 ? 1 : 0) << '\n'
        << "colour: " << Rgb(b.colour) << '\n'
        << "rate: " << int(b.reportRate) << '\n'
        << "choice: " << int(b.colourChoice) << '\n'
        << "effect 7 random: " << int(b.effect7Random) << '\n'
        << "trigger: " << int(b.triggerMode) << '\n'
        << "second colour: " << Rgb(b.secondColour) << " random " << (b.secondRandom ? 1 : 0)
        << '\n'
        << "third colour: " << Rgb(b.thirdColour) << " random " << (b.thirdRandom ? 1 : 0)
        << '\n';
    return kExitOk;
}

}  // namespace vantor::ctl
