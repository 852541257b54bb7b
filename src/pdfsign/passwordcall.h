// SPDX-License-Identifier: MIT
#pragma once

// Internal to src/pdfsign: NSS's password callback and the record of one log-in, from which the
// message for a wrong or missing password is made.
#include "pdfsign/password.h"

#include <pk11pub.h>

namespace pellimo {

struct PasswordCall {
    PasswordSource *source = nullptr;
    int handed = 0;      // passwords handed to NSS
    bool gaveUp = false; // the source said no more
};

// The PK11PasswordFunc of every session; `arg` is a PasswordCall, or null when no password may be
// asked (listing certificates).
char *nssPasswordCallback(PK11SlotInfo *slot, PRBool retry, void *arg);

// Logs in to `slot` when it needs it. An empty string, or the message for a wrong or missing
// password.
QString logIn(PK11SlotInfo *slot, PasswordSource &source);

} // namespace pellimo
