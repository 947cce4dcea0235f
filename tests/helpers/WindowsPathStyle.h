#pragma once

#include "PathStyle.h"

// How the specification's examples spell paths: "\" separates folders and
// ":" ends a drive name.
inline PathStyle windowsPathStyle()
{
    return {u'\\', u':'};
}
