// SPDX-License-Identifier: MIT
#include "app/app.h"
#include "platform/processsetup.h"

int main(int argc, char **argv)
{
    pellimo::openMissingStandardStreams();
    pellimo::ignoreFileSizeLimitSignal();
    return pellimo::runApplication(argc, argv);
}
