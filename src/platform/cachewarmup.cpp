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

StartUpWarmUp::StartUpWarmUp()
{
    try {
        m_thread = std::thread(loadCaches);
    } catch (...) {
        // No thread: the same loading simply happens later, where it is first needed.
    }
}

StartUpWarmUp::~StartUpWarmUp()
{
    join();
}

void StartUpWarmUp::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace pellimo
