#include "encoders/job/EncoderMain.h"
#include "encoders/options/CoderOptions.h"

// Built twice, as coder.exe and as coder2.exe: the program gives the two
// the same kind of command line.
int main(int argc, char *argv[])
{
    return EncoderMain::run(argc, argv, QStringLiteral(ZENVORA_ENCODER_NAME), EncoderStyle::Coder,
                            &CoderOptions::parse);
}
