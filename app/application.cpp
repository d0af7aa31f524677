// SPDX-License-Identifier: MIT
#include "app/application.h"

#include <QtGlobal>

#include "app/main_form.h"

// The images are compiled into the app library; a static library must ask
// for its resources to be registered.
static void RegisterSolvenaResources() {
    Q_INIT_RESOURCE(solvena);
}

namespace solvena::app {

void RegisterResources() {
    RegisterSolvenaResources();
}

Application::Application(desktop::Platform& platform) : platform_(platform) {
    RegisterResources();
    main_ = std::make_unique<MainForm>(shared_, platform_);
}

Application::~Application() = default;

bool Application::Start() {
    // From now on a signal or the session's end keeps unsaved text first.
    QObject::connect(&endRequests_, &desktop::EndRequests::Requested, main_.get(),
                     [this](int signal) { main_->EndRequested(signal); });
    if (!endRequests_.Watch()) {
        platform_.Complain(QStringLiteral("cannot watch for signals to end"));
    }
    return main_->Form_Load();
}

}  // namespace solvena::app
