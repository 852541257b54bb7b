#include "app.h"

#include <cstdio>

namespace pellimo {

int runApplication(int, char **)
{
    std::puts("Pellimo: the window is not built yet.");
    return 0;
}

} // namespace pellimo
