// SPDX-License-Identifier: MIT
// The command-line parser. The input is the argument string in UTF-8. Properties, checked against
// a plain reading of the grammar: hidden mode exactly when the lower-cased text before the first
// space is "nogui"; then a user 1..5 exactly when the lower-cased text between the first and the
// second space is "u1".."u5", and otherwise (and always in normal mode) user 0. Joining the
// arguments split at single spaces gives the same result.

#include "app/commandline.h"
#include "fuzzsupport.h"

using namespace pellimo;
using namespace pellimo::fuzz;

namespace {

QString token(const QString &arguments, int index)
{
    qsizetype start = 0;
    for (int i = 0; i < index; ++i) {
        const qsizetype space = arguments.indexOf(u' ', start);
        if (space < 0)
            return QString();
        start = space + 1;
    }
    const qsizetype space = arguments.indexOf(u' ', start);
    return arguments.mid(start, space < 0 ? -1 : space - start);
}

bool hasToken(const QString &arguments, int index)
{
    return arguments.count(u' ') >= index;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    countWarnings();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString arguments =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const CommandLine parsed = parseCommandLine(arguments);

    const bool noGui = token(arguments, 0).toLower() == QLatin1String("nogui");
    check(parsed.noGui == noGui, "hidden mode differs from the first token");
    check(parsed.user >= 0 && parsed.user <= 5, "user outside 0..5");

    int16_t user = 0;
    if (noGui && hasToken(arguments, 1)) {
        const QString second = token(arguments, 1).toLower();
        if (second.size() == 2 && second.at(0) == u'u' && second.at(1) >= u'1' &&
            second.at(1) <= u'5')
            user = int16_t(second.at(1).unicode() - u'0');
    }
    check(parsed.user == user, "the user differs from the second token", arguments);

    check(parseCommandLine(joinArguments(arguments.split(u' '))) == parsed,
          "joining the split arguments changed the result");
    return 0;
}
