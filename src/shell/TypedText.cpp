#include "TypedText.h"

#include "Catalogue.h"
#include "ComponentList.h"
#include "ControllerLink.h"
#include "ControllerSession.h"
#include "Protocol.h"
#include "TExtEdit.h"
#include "WriteOperation.h"

#include <stdexcept>

namespace {

QString FieldName(const TExtEdit& edit) {
    const Catalogue::Entry* entry = Catalogue::ForControl(edit.objectName().toUtf8().constData());
    return entry ? entry->Name() : edit.objectName();
}

} // namespace

void CommitTypedText(ControllerSession& session, const ComponentList& components) {
    bool unanswered = false;
    const ExchangeObservers::Subscription watch =
        session.Link().Observe([&unanswered](const ExchangeRecord& record) {
            const bool write = record.command == CmdWriteParam || record.command == CmdWriteLive;
            unanswered = unanswered || (write && record.outcome != ExchangeOutcome::Success);
        });
    const auto& items = components.Items();
    for (std::size_t i = 0; i < items.size(); ++i) { // by index: a commit may add components
        auto* edit = qobject_cast<TExtEdit*>(items[i].data());
        if (!edit || !edit->isModified())
            continue;
        {
            // A step of its own in the undo list, closed before the operation's writes begin.
            const WriteOperation commit(session.Operations(), QStringLiteral("Изменение значения"),
                                        QString(), WriteOperation::Undo::Record);
            edit->ApplyText();
        }
        if (unanswered)
            throw std::runtime_error(QStringLiteral("Введённое значение «%1» не записано в прибор: "
                                                    "нет ответа от прибора!")
                                         .arg(FieldName(*edit))
                                         .toStdString());
    }
}
