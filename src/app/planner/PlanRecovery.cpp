#include "app/planner/PlanRecovery.h"

#include "app/planner/PlannerViewModel.h"
#include "app/settings/JsonFile.h"
#include "formats/RouteDocumentCoder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QSaveFile>
#include <QThreadPool>

#include <condition_variable>
#include <mutex>

namespace zuvo::app {

// One writer thread; the UI thread leaves it the newest state to put on disk, and a state that
// was not written yet is replaced by a newer one, so a burst of edits writes once or twice.
struct PlanRecovery::Writer {
    QString path;
    std::mutex mutex;
    std::condition_variable idle;
    // The next content to write; an empty array removes the file.
    std::optional<QByteArray> next;
    bool running = false;
    // Last, so that it is gone (waiting for its thread) before what that thread uses.
    QThreadPool pool;

    void submit(QByteArray content)
    {
        std::lock_guard lock(mutex);
        next = std::move(content);
        if (running)
            return;
        running = true;
        pool.start([this] { drain(); });
    }

    void drain()
    {
        while (true) {
            QByteArray content;
            {
                std::lock_guard lock(mutex);
                if (!next) {
                    running = false;
                    idle.notify_all();
                    return;
                }
                content = std::move(*next);
                next.reset();
            }
            if (content.isEmpty()) {
                QFile::remove(path);
                continue;
            }
            QDir().mkpath(QFileInfo(path).absolutePath());
            QSaveFile file(path);
            if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size())
                file.commit();
        }
    }

    void wait()
    {
        std::unique_lock lock(mutex);
        idle.wait(lock, [this] { return !running; });
    }
};

QString PlanRecovery::defaultPath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty())
        state = QDir::home().filePath(QStringLiteral(".local/state"));
    return QDir(state).filePath(QStringLiteral("tramu/recovery.json"));
}

std::optional<PlanRecovery::Left> PlanRecovery::read(const QString& path)
{
    const auto json = JsonFile::read(path);
    if (!json || !json->isObject())
        return std::nullopt;
    const QJsonObject object = json->object();
    Left left{
        .name = {},
        .savedAt = QDateTime::fromString(object.value(u"savedAt").toString(), Qt::ISODate),
        .documentPath = std::nullopt,
        .document = object.value(u"document").toString().toUtf8(),
    };
    const auto document = formats::RouteDocumentCoder::decode(left.document);
    if (!document || !left.savedAt.isValid())
        return std::nullopt;
    left.name = document->name;
    if (const auto path = object.value(u"documentPath"); path.isString())
        left.documentPath = path.toString();
    return left;
}

PlanRecovery::PlanRecovery(QString path, PlannerViewModel& planner, QObject* parent)
    : QObject(parent)
    , m_path(std::move(path))
    , m_planner(planner)
    , m_left(read(m_path))
    , m_writer(std::make_shared<Writer>())
    , m_onDisk(QFile::exists(m_path))
{
    m_writer->path = m_path;
    m_writer->pool.setMaxThreadCount(1);
    // Until the rider answers about the plan left behind, the file stays as it is.
    if (!m_left)
        update();
    connect(&planner, &PlannerViewModel::routeChanged, this, &PlanRecovery::update);
    connect(&planner, &PlannerViewModel::documentChanged, this, &PlanRecovery::update);
}

PlanRecovery::~PlanRecovery()
{
    flush();
}

void PlanRecovery::update()
{
    if (m_left)
        return;
    const auto document = m_planner.isDirty() ? m_planner.makeDocumentData() : std::nullopt;
    if (!document) {
        if (std::exchange(m_onDisk, false))
            m_writer->submit({});
        return;
    }
    m_onDisk = true;
    QJsonObject object{
        {QStringLiteral("savedAt"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)},
        {QStringLiteral("document"), QString::fromUtf8(*document)},
    };
    if (const auto& url = m_planner.documentURL())
        object.insert(QStringLiteral("documentPath"), url->toLocalFile());
    m_writer->submit(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

void PlanRecovery::restore()
{
    const auto left = std::exchange(m_left, std::nullopt);
    if (!left)
        return;
    if (auto document = formats::RouteDocumentCoder::decode(left->document))
        m_planner.recoverDocument(std::move(document).value(), left->documentPath);
    update();
}

void PlanRecovery::discard()
{
    m_left.reset();
    update();
}

void PlanRecovery::finish()
{
    m_left.reset();
    m_onDisk = false;
    m_writer->submit({});
    flush();
}

void PlanRecovery::flush()
{
    m_writer->wait();
}

} // namespace zuvo::app
