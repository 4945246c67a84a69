#pragma once

#include "capture/pasteboard.h"
#include "offerreader.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QSet>
#include <memory>

class WaylandConnection;
struct zwlr_data_control_device_v1;
struct zwlr_data_control_manager_v1;
struct zwlr_data_control_offer_v1;
struct zwlr_data_control_source_v1;

// The clipboard of a Wayland seat through the compositor's data-control protocol
// (ext-data-control-v1, else wlr-data-control-unstable-v1): every program's copies reach it,
// whichever window has the focus.
//
// Another program's content is read through pipes as soon as it is offered, all wanted forms
// at once, each up to a size limit and within a deadline; only then does the change count move
// and the change handler run, so that the reads below answer from what arrived. A newer offer
// abandons the reading of an older one. Own writes are served from memory until another
// program takes the clipboard; their offers carry a marker type of this process, so that they
// are never read back or counted twice.
class DataControlPasteboard final : public QObject, public Pasteboard
{
    Q_OBJECT

public:
    // Nothing when the compositor offers neither protocol or there is no seat.
    static std::unique_ptr<DataControlPasteboard> create(WaylandConnection &connection);
    ~DataControlPasteboard() override;
    DataControlPasteboard(const DataControlPasteboard &) = delete;
    DataControlPasteboard &operator=(const DataControlPasteboard &) = delete;

    // The protocol in use, e.g. "ext-data-control-v1".
    QString protocolName() const;

    qint64 changeCount() const override { return m_changeCount; }
    void setChangeHandler(std::function<void()> handler) override;

    QStringList types() override;
    QList<QUrl> fileURLs() override;
    PasteboardData data(PasteboardDataType type, qint64 limit) override;
    std::optional<QImage> image() override;

    void write(const PasteboardContent &content) override;

    // Offers reported with more types than this keep only the first ones.
    static constexpr qsizetype maxTypes = 1000;

    struct Protocol;

private:
    using Forms = QList<QPair<QString, QByteArray>>;
    struct Content {
        QStringList formats;
        OfferReader::Results reads;
        // Forms found larger than what the capture takes; their bytes are not kept.
        QSet<QString> oversize;
        bool own = false;
        PasteboardContent written;
    };

    DataControlPasteboard(WaylandConnection &connection, const Protocol &protocol,
                          zwlr_data_control_manager_v1 *manager);

    static void handleDataOffer(void *data, zwlr_data_control_device_v1 *device,
                                zwlr_data_control_offer_v1 *offer);
    static void handleSelection(void *data, zwlr_data_control_device_v1 *device,
                                zwlr_data_control_offer_v1 *offer);
    static void handleFinished(void *data, zwlr_data_control_device_v1 *device);
    static void handlePrimarySelection(void *data, zwlr_data_control_device_v1 *device,
                                       zwlr_data_control_offer_v1 *offer);
    static void handleOfferType(void *data, zwlr_data_control_offer_v1 *offer,
                                const char *mimeType);
    static void handleSend(void *data, zwlr_data_control_source_v1 *source, const char *mimeType,
                           int32_t fd);
    static void handleCancelled(void *data, zwlr_data_control_source_v1 *source);

    void takeSelection(zwlr_data_control_offer_v1 *offer);
    void startReading(zwlr_data_control_offer_v1 *offer, const QStringList &formats);
    void destroyOffer(zwlr_data_control_offer_v1 *offer);
    PasteboardData read(const QString &format, qint64 limit);
    QString textFormat() const;
    static Forms formsOf(const PasteboardContent &content);

    WaylandConnection &m_connection;
    const Protocol &m_protocol;
    zwlr_data_control_manager_v1 *m_manager;
    zwlr_data_control_device_v1 *m_device = nullptr;
    // The types each live offer announced, until it is destroyed.
    QHash<zwlr_data_control_offer_v1 *, QStringList> m_offerTypes;
    zwlr_data_control_offer_v1 *m_selection = nullptr;
    QPointer<OfferReader> m_reading;
    // Own sources still served, with their forms.
    QHash<zwlr_data_control_source_v1 *, Forms> m_sources;
    QString m_ownMarker;

    qint64 m_changeCount = 0;
    std::function<void()> m_changeHandler;
    Content m_content;
    std::optional<std::optional<QImage>> m_image;
};
