#pragma once

#include "engine/PathStyle.h"

// Windows paths, as the tests of path handling spell them: "\" separates folders and
// ":" ends a drive name.
inline PathStyle windowsPathStyle()
{
    return {u'\\', u':'};
}
