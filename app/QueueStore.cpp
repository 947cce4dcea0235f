#include "app/QueueStore.h"

#include "encoders/system/DiskFlush.h"
#include "jobs/JobList.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

const QString QueueFileName = u"queue.json"_s;

} // namespace

QueueStore::QueueStore(QString stateFolder, QObject *parent)
    : QObject(parent), m_stateFolder(std::move(stateFolder))
{
    if (m_stateFolder.isEmpty())
        return;
    QFile file(queueFile());
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QJsonArray files = QJsonDocument::fromJson(file.readAll()).object()[u"files"].toArray();
    for (const QJsonValue &value : files) {
        if (const QString path = value.toString(); !path.isEmpty())
            m_saved.append(path);
    }
}

void QueueStore::follow(const JobList &jobs)
{
    m_changed.setSingleShot(true);
    m_changed.setInterval(0);
    connect(&m_changed, &QTimer::timeout, this, [this, &jobs] { queueChanged(jobs.paths()); });
    for (const auto signal : {&JobList::jobsAdded, &JobList::jobRemoved, &JobList::jobsReset})
        connect(&jobs, signal, &m_changed, qOverload<>(&QTimer::start));
}

QString QueueStore::queueFile() const
{
    return m_stateFolder.isEmpty() ? QString() : m_stateFolder + u'/' + QueueFileName;
}

QString QueueStore::restoreQuestion(int count)
{
    return tr("上次有 %1 个文件没有转换，是否恢复？", nullptr, count).arg(count);
}

void QueueStore::offerAnswered()
{
    m_saved.clear();
    m_savedDeclined = false;
    writeQueue();
}

void QueueStore::offerDeclined()
{
    m_savedDeclined = true;
}

void QueueStore::queueChanged(const QStringList &paths)
{
    m_queue = paths;
    if (m_savedDeclined)
        offerAnswered();
    else
        writeQueue();
}

// Until the offer is answered the last run's files stay on disk too, so a
// crash before the answer loses them no more than the one before.
void QueueStore::writeQueue()
{
    if (m_stateFolder.isEmpty())
        return;
    const QStringList all = m_saved + m_queue;
    if (all.isEmpty()) {
        QFile::remove(queueFile());
        return;
    }
    QDir().mkpath(m_stateFolder);
    QSaveFile file(queueFile());
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(QJsonObject{{u"files"_s, QJsonArray::fromStringList(all)}})
                       .toJson(QJsonDocument::Indented));
        if (file.commit()) {
            DiskFlush::folderOf(queueFile());
            return;
        }
    }
    qWarning("Zenvora: the queue cannot be kept in %s: %s", qPrintable(queueFile()),
             qPrintable(file.errorString()));
}
