// SPDX-License-Identifier: MIT
#include "stampdatafolder.h"

#include "storage/datafolder.h"

namespace pellimo {

QString stampDataFolder(const QString &programFolder)
{
    return chooseDataFolder(programFolder).path; // the rule pellimo itself follows
}

} // namespace pellimo
