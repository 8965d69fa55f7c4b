#pragma once

class QPushButton;
class QWidget;

namespace korvex {

struct Profile;
class TransferRunner;

// The Stop button beside a transfer's bar: shown while any transfer runs
// (keeping its room otherwise), it asks the runner to stop at the next safe
// point and greys once asked.
QPushButton* MakeStopButton(TransferRunner& runner, const Profile& profile, const char* name, QWidget* parent);

}  // namespace korvex
