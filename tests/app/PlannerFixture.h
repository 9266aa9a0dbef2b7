#pragma once

#include "RecordingPage.h"
#include "RunTask.h"
#include "ScriptedEngine.h"
#include "app/OneShotTimer.h"
#include "app/planner/PlannerViewModel.h"
#include "app/planner/ToastCenter.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace zuvo::test {

using app::PlannerViewModel;
using map::MapEvent;
using model::Anchor;
using model::Coordinate;
using routing::Failure;
using routing::RoutingError;
using Op = ScriptedEngine::Op;
using Tool = PlannerViewModel::Tool;

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A timer the test fires by hand.
class ManualTimer final : public app::OneShotTimer {
public:
    struct State {
        std::function<void()> pending;
        std::chrono::milliseconds delay{};
    };

    explicit ManualTimer(std::shared_ptr<State> state)
        : m_state(std::move(state))
    {
    }

    void start(std::chrono::milliseconds delay, std::function<void()> callback) override
    {
        m_state->delay = delay;
        m_state->pending = std::move(callback);
    }
    void stop() override { m_state->pending = nullptr; }

    static void fire(State& state)
    {
        if (auto callback = std::exchange(state.pending, nullptr))
            callback();
    }

private:
    std::shared_ptr<State> m_state;
};

// A view model on a scripted engine, in a temporary home, talking to a recording page.
class PlannerViewModelTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    QSettings settings{home.filePath("settings.ini"), QSettings::IniFormat};
    app::FavoritesStore favorites{home.filePath("favorites.json")};
    app::UserPOIStore userPOIs{home.filePath("custom-pois.json")};
    std::shared_ptr<ScriptedEngine::Script> script = std::make_shared<ScriptedEngine::Script>();
    std::shared_ptr<ManualTimer::State> clock = std::make_shared<ManualTimer::State>();
    app::ToastCenter toasts{std::make_unique<ManualTimer>(clock)};
    map::MapBridge bridge;
    std::unique_ptr<RecordingPage> page = std::make_unique<RecordingPage>();
    std::unique_ptr<PlannerViewModel> vm = makeViewModel();

    std::unique_ptr<PlannerViewModel> makeViewModel()
    {
        auto model = std::make_unique<PlannerViewModel>(std::make_unique<ScriptedEngine>(script),
                                                        favorites, userPOIs, settings);
        bridge.setPage(page.get());
        model->setBridge(&bridge);
        model->setToastCenter(&toasts);
        return model;
    }

    static Coordinate at(int i) { return {48.0 + 0.01 * i, 11.0 + 0.005 * (i % 3)}; }
    static Coordinate between(const Coordinate& a, const Coordinate& b)
    {
        return {(a.latitude + b.latitude) / 2, (a.longitude + b.longitude) / 2};
    }

    void tap(const Coordinate& c, bool onRoute = false)
    {
        vm->handle(MapEvent{MapEvent::Tap{c.longitude, c.latitude, onRoute}});
    }

    // Runs the event loop until no edit is outstanding.
    void settle()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !vm->isRouting(); }, 5000)) << "still routing";
        QCoreApplication::processEvents();
    }

    // Via anchors at at(0) … at(count − 1), placed by taps; forgets the requests and scripts.
    std::vector<Anchor> build(int count)
    {
        vm->setTool(Tool::via);
        for (int i = 0; i < count; ++i) {
            tap(at(i));
            settle();
        }
        script->requests.clear();
        page->scripts.clear();
        return vm->route().anchors;
    }

    // The anchors' click positions as numbers of at(); −1 for any other place.
    std::vector<int> clicks() const
    {
        std::vector<int> numbers;
        for (const auto& anchor : vm->route().anchors) {
            int n = -1;
            for (int i = 0; i < 20; ++i) {
                if (anchor.click == at(i))
                    n = i;
            }
            numbers.push_back(n);
        }
        return numbers;
    }
};

} // namespace zuvo::test
