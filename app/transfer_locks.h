#pragma once
#include "app/transfer_report.h"

class QWidget;

namespace korvex {

class TransferRunner;

// What a running transfer reads or writes, and so locks: the settings (the
// settings pages and the project box) for a configuration transfer, the
// sound (the sound box) for a sound transfer. The log's buttons, the port
// and the other transfers are locked by every transfer; everything else
// stays usable, and the pages can be switched and read.
enum class Locked { Settings, Sound };
bool Locks(TransferKind kind, Locked what);

// Greys `widget` (its fields still show what they hold) while a transfer
// that locks `what` runs.
void LockDuring(TransferRunner& runner, Locked what, QWidget* widget);

}  // namespace korvex
