#include "app/transfer_locks.h"

#include <QWidget>

#include "app/run_transfer.h"

namespace korvex {

bool Locks(TransferKind kind, Locked what) {
    switch (kind) {
        case TransferKind::ReadConfig:
        case TransferKind::WriteConfig: return what == Locked::Settings;
        case TransferKind::ReadSound:
        case TransferKind::WriteSound: return what == Locked::Sound;
        case TransferKind::ReadLog:
        case TransferKind::ClearLog: return false;
    }
    return false;
}

void LockDuring(TransferRunner& runner, Locked what, QWidget* widget) {
    QObject::connect(&runner, &TransferRunner::Started, widget, [widget, what](TransferKind kind) {
        if (Locks(kind, what)) widget->setEnabled(false);
    });
    QObject::connect(&runner, &TransferRunner::Finished, widget, [widget] { widget->setEnabled(true); });
}

}  // namespace korvex
