#include "encoders/probe/MediaProbe.h"

// What an encoder loads when no probe server answers it: libavformat then
// comes into its process only when a file is to be read, and an encoder
// that has a server never loads it at all.
extern "C" Q_DECL_EXPORT void zenvora_probe(const QByteArray *request, QByteArray *reply)
{
    *reply = MediaProbe::answer(*request);
}
