// SPDX-License-Identifier: MIT
#include "cachewarmup.h"

#include "datefmt/dateformat.h"
#include "storage/cp932.h"

#include <QDateTime>
#include <QString>
#include <dlfcn.h>

namespace pellimo {

namespace {

void loadCaches()
{
    // Qt's GUI library links fontconfig, so its FcInit is already in the process; looking it up
    // keeps the build free of fontconfig's headers.
    using FcInitFunction = int (*)();
    if (auto fcInit = reinterpret_cast<FcInitFunction>(dlsym(RTLD_DEFAULT, "FcInit")))
        fcInit();
    (void)formatDate(QDateTime::currentDateTime(), QStringLiteral("ee.mm.dd"));
    (void)encodeCp932(QStringLiteral(u"組織名"));
}

} // namespace

std::future<void> warmUpCaches()
{
    try {
        return std::async(std::launch::async, loadCaches);
    } catch (...) {
        return {};
    }
}

} // namespace pellimo
