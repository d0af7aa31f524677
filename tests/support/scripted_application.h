// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

#include "app/application.h"
#include "tests/support/scripted_platform.h"

namespace solvena::testing {

// The program's Application on a scripted platform, which Platform() gives.
class ScriptedApplication {
  public:
    explicit ScriptedApplication(QStringList arguments = {QStringLiteral("solvena")})
        : platform_(std::move(arguments)), application_(platform_) {}

    bool Start() { return application_.Start(); }
    state::Module2& Shared() { return application_.Shared(); }
    app::MainForm& Main() { return application_.Main(); }
    ScriptedPlatform& Platform() { return platform_; }

  private:
    ScriptedPlatform platform_;
    app::Application application_;
};

}  // namespace solvena::testing
