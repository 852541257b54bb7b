// SPDX-License-Identifier: MIT
#include "freedheap.h"

#include <malloc.h>

namespace pellimo {

void returnFreedHeap()
{
    malloc_trim(0);
}

} // namespace pellimo
