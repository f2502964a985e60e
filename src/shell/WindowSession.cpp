#include "WindowSession.h"

#include "Captions.h"
#include "ControllerLink.h"
#include "ControllerSession.h"
#include "Form1.h"
#include "GoodReads.h"
#include "Offline.h"
#include "Protocol.h"
#include "WindowLink.h"

namespace {

const QString HolderName = QStringLiteral("WindowSession");

class Holder : public QObject {
    Q_OBJECT
public:
    explicit Holder(TForm1& form) : QObject(&form), session(WindowLink()) {
        setObjectName(HolderName);
        // A write takes the file's name off the caption; without a controller, the caption
        // keeps saying so.
        captionReset = session.Link().Observe([&form](const ExchangeRecord& record) {
            if (record.command == CmdWriteParam)
                form.setWindowTitle(OfflineSession() ? OfflineCaption(OfflineFile())
                                                     : BaseCaption());
        });
    }

    ControllerSession session;
    GoodReads reads;
    ExchangeObservers::Subscription captionReset;
};

Holder& HolderOf(TForm1& form) {
    if (auto* holder = form.findChild<Holder*>(HolderName, Qt::FindDirectChildrenOnly))
        return *holder;
    return *new Holder(form);
}

} // namespace

ControllerSession& SessionOf(TForm1& form) {
    return HolderOf(form).session;
}

GoodReads& GoodReadsOf(TForm1& form) {
    return HolderOf(form).reads;
}

#include "WindowSession.moc"
