// SPDX-License-Identifier: MIT
#include "stampdrag.h"

#include "storage/datafileio.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>
#include <cstdio>

namespace pellimo {

StampDrag::StampDrag(QWidget *preview, std::function<QImage()> picture)
    : QObject(preview), m_preview(preview), m_picture(std::move(picture))
{
    m_runner = [this](QMimeData *data) {
        auto *drag = new QDrag(m_preview);
        drag->setMimeData(data);
        const QImage shown = qvariant_cast<QImage>(data->imageData());
        if (!shown.isNull())
            drag->setPixmap(QPixmap::fromImage(shown));
        drag->exec(Qt::CopyAction);
    };
    preview->installEventFilter(this);
}

StampDrag::~StampDrag() = default;

void StampDrag::setDragRunner(std::function<void(QMimeData *)> runner)
{
    m_runner = std::move(runner);
}

QString StampDrag::fileName()
{
    return QStringLiteral("stamp.png");
}

QMimeData *StampDrag::mimeDataFor(const QImage &picture, const QString &folder, QString *why)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (picture.isNull() || !picture.save(&buffer, "PNG")) {
        if (why)
            *why = QStringLiteral("no picture");
        return nullptr;
    }
    const QString file = QDir(folder).filePath(fileName());
    if (!writeFileAtomically(file, png, why))
        return nullptr;
    auto *data = new QMimeData;
    data->setData(QStringLiteral("image/png"), png);
    data->setImageData(picture);
    data->setUrls({QUrl::fromLocalFile(file)});
    return data;
}

bool StampDrag::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_preview)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *press = static_cast<QMouseEvent *>(event);
        m_pressed = press->button() == Qt::LeftButton;
        m_pressedAt = press->position().toPoint();
        break;
    }
    case QEvent::MouseMove: {
        const auto *move = static_cast<QMouseEvent *>(event);
        if (m_pressed && (move->buttons() & Qt::LeftButton) &&
            (move->position().toPoint() - m_pressedAt).manhattanLength() >=
                QApplication::startDragDistance()) {
            m_pressed = false;
            start();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        m_pressed = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void StampDrag::start()
{
    const QImage picture = m_picture();
    if (picture.isNull())
        return;
    if (!m_folder) {
        m_folder = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                   QStringLiteral("/pellimo-drag-XXXXXX"));
        if (!m_folder->isValid()) {
            m_folder.reset();
            return;
        }
    }
    QString why;
    QMimeData *data = mimeDataFor(picture, m_folder->path(), &why);
    if (!data) {
        std::fprintf(stderr, "Pellimo: the stamp cannot be dragged: %s\n",
                     why.toLocal8Bit().constData());
        return;
    }
    m_runner(data);
}

} // namespace pellimo
