#include "encoders/job/EncoderMain.h"
#include "encoders/options/ConvOptions.h"

#include <QFileInfo>

int main(int argc, char *argv[])
{
    const auto parse = [](const QStringList &arguments) {
        return ConvOptions::parse(arguments,
                                  [](const QString &path) { return QFileInfo(path).isFile(); });
    };
    return EncoderMain::run(argc, argv, QStringLiteral(ZENVORA_ENCODER_NAME), EncoderStyle::Conv,
                            parse);
}
