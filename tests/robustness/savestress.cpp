// SPDX-License-Identifier: MIT
// Saves two different profiles and two different settings records in turn, as fast as it can,
// until it is killed. test_crashsafe kills it at random moments and inspects the files.
#include "savedesigns.h"
#include "storage/profilefile.h"
#include "storage/settingsfile.h"

#include <QCoreApplication>
#include <cstdio>

using namespace pellimo;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: savestress FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString profilePath = profileFilePath(folder, 1);
    const QString settingsPath = settingsFilePath(folder);
    std::puts("ready");
    std::fflush(stdout);
    for (unsigned n = 0;; ++n) {
        const bool first = (n % 2) == 0;
        if (!saveProfile(first ? designA() : designB(), profilePath))
            return 1;
        if (!saveSettings(first ? settingsA() : settingsB(), settingsPath))
            return 1;
    }
}
