#include "pages/stop_button.h"

#include <QPushButton>

#include "app/qt_paths.h"
#include "app/run_transfer.h"
#include "app/transfer_report.h"

namespace korvex {

QPushButton* MakeStopButton(TransferRunner& runner, const Profile& profile, const char* name, QWidget* parent) {
    const TransferTexts& texts = TransferTextsFor(profile);
    auto* stop = new QPushButton(QtText(texts.stop), parent);
    stop->setObjectName(name);
    stop->setToolTip(QtText(texts.stopTip));
    stop->setAutoDefault(false);
    QSizePolicy policy = stop->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    stop->setSizePolicy(policy);
    stop->setVisible(runner.Running());
    QObject::connect(stop, &QPushButton::clicked, stop, [&runner, stop] {
        runner.RequestStop();
        stop->setEnabled(false);
    });
    QObject::connect(&runner, &TransferRunner::Started, stop, [stop] {
        stop->setEnabled(true);
        stop->show();
    });
    QObject::connect(&runner, &TransferRunner::Finished, stop, [stop] { stop->hide(); });
    return stop;
}

}  // namespace korvex
