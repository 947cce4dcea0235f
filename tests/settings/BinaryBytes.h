#pragma once

#include <QByteArray>

// Deterministic bytes that look like nothing a settings file holds: every
// value but the line feed, including NUL and invalid UTF-8.
inline QByteArray binaryBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = 12345;
    for (char &byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 24);
        if (byte == '\n')
            byte = '\0';
    }
    return bytes;
}
