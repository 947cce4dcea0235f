#pragma once

#include "PathStyle.h"

// Windows paths, as the tests of path handling spell them: "\" separates folders and
// ":" ends a drive name.
inline PathStyle windowsPathStyle()
{
    return {u'\\', u':'};
}
