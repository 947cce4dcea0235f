#include "encoders/job/NumberedName.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace NumberedName {

QString of(const QString &path, int number)
{
    if (number <= 1)
        return path;
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const qsizetype numberAt = dot > 0 ? dot : name.size();
    return path.chopped(name.size()) + name.left(numberAt) + u'-' + QString::number(number) +
           name.mid(numberAt);
}

} // namespace NumberedName
