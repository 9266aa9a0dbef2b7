#include "LoopbackServer.h"
#include "PlannerFixture.h"
#include "app/places/PlaceSearchController.h"

#include <QNetworkAccessManager>
#include <QUrlQuery>

using namespace zuvo;
using namespace zuvo::test;

namespace {

QByteArray placeNamed(const QString& name)
{
    return QStringLiteral(R"({"type":"FeatureCollection","features":[{"type":"Feature",
        "geometry":{"type":"Point","coordinates":[9.99,48.4]},
        "properties":{"osm_type":"N","osm_id":7,"name":"%1","street":"Hauptstraße"}}]})")
        .arg(name)
        .toUtf8();
}

class PlaceSearchTest : public PlannerViewModelTest {
protected:
    QNetworkAccessManager session;
    LoopbackServer server;
    app::PhotonClient client{server.baseURL(), session};
    std::shared_ptr<ManualTimer::State> debounce = std::make_shared<ManualTimer::State>();
    app::PlaceSearchController search{client, *vm, std::make_unique<ManualTimer>(debounce)};
    QStringList silentFor;

    void SetUp() override
    {
        server.answer = [this](const LoopbackServer::Request& request) {
            const QString q = QUrlQuery(request.url).queryItemValue("q", QUrl::FullyDecoded);
            if (silentFor.contains(q))
                return LoopbackServer::Answer{.silent = true};
            if (q == "broken")
                return LoopbackServer::Answer{
                    .status = 502, .contentType = "text/html", .body = "<html>Bad Gateway</html>"};
            return LoopbackServer::Answer{.body = placeNamed(q)};
        };
    }

    QString shownPlace() const
    {
        // "<name>, Hauptstraße"
        return vm->searchResults().empty()
                   ? QString()
                   : vm->searchResults().front().label.section(QStringLiteral(", "), 0, 0);
    }

    // Types the text key by key; `pause` lets the debounce delay pass after the last key.
    void type(const QString& text, bool pause = true)
    {
        for (qsizetype i = 1; i <= text.size(); ++i)
            search.setQuery(text.left(i));
        if (pause)
            ManualTimer::fire(*debounce);
    }
};

} // namespace

TEST_F(PlaceSearchTest, PlaceSearchSendsOneRequestForABurstOfKeys)
{
    type("Ulmen", false);
    EXPECT_EQ(debounce->delay, std::chrono::milliseconds(300));
    QTest::qWait(50);
    EXPECT_TRUE(server.requests.empty()) << "nothing is sent before the pause";
    ManualTimer::fire(*debounce);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownPlace() == "Ulmen"; }, 5000));
    ASSERT_EQ(server.requests.size(), 1u);
    EXPECT_EQ(QUrlQuery(server.requests[0].url).queryItemValue("q"), "Ulmen");
    EXPECT_FALSE(search.isSearching());
    EXPECT_EQ(vm->searchQuery(), "Ulmen");
}

TEST_F(PlaceSearchTest, PlaceSearchKeystrokeCancelsTheRequestInFlight)
{
    tap({48.4, 9.9});
    type("Ulm");
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownPlace() == "Ulm"; }, 5000));
    EXPECT_EQ(QUrlQuery(server.requests[0].url).queryItemValue("lon"), "9.9") << "near the focus";

    silentFor = {"Ulm M"};
    type("Ulm M");
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests.size() == 2; }, 5000));
    EXPECT_TRUE(search.isSearching());
    search.setQuery("Ulm Mü");
    QTest::qWait(50);
    EXPECT_EQ(shownPlace(), "Ulm") << "a cancelled search keeps what is shown";
    ManualTimer::fire(*debounce);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownPlace() == "Ulm Mü"; }, 5000));
    EXPECT_FALSE(search.isSearching());

    search.setQuery("broken");
    ManualTimer::fire(*debounce);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests.size() == 4; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return vm->searchResults().empty(); }, 5000))
        << "a failed search shows nothing";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !search.isSearching(); }, 5000));
    EXPECT_EQ(search.message(), "The place search at " + server.baseURL().toString() +
                                    " did not answer with places.");
}

TEST_F(PlaceSearchTest, PlaceSearchSaysWhatItIsDoingWhenThereIsNothingToShow)
{
    silentFor = {"Ulm"};
    type("Ulm");
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests.size() == 1; }, 5000));
    EXPECT_EQ(search.message(), "Searching…");
    server.answer = [](const LoopbackServer::Request&) {
        return LoopbackServer::Answer{.body = R"({"type":"FeatureCollection","features":[]})"};
    };
    type("Ulmx");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !search.isSearching(); }, 5000));
    EXPECT_EQ(search.message(), "No places found for 'Ulmx'");
    search.clear();
    EXPECT_FALSE(search.message());

    // A search server that is not there is named, as the routing server is.
    app::PhotonClient nowhere{QUrl("http://127.0.0.1:9"), session};
    app::PlaceSearchController lost{nowhere, *vm, std::make_unique<ManualTimer>(debounce)};
    lost.setQuery("Ulm");
    ManualTimer::fire(*debounce);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !lost.isSearching(); }, 5000));
    ASSERT_TRUE(lost.message());
    EXPECT_TRUE(lost.message()->startsWith("Could not reach the place search at "
                                           "http://127.0.0.1:9: "))
        << lost.message()->toStdString();
}

TEST_F(PlaceSearchTest, PlaceSearchKeys)
{
    EXPECT_FALSE(search.selectFirst()) << "nothing to pick";
    type("Ulm");
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownPlace() == "Ulm"; }, 5000));
    EXPECT_TRUE(search.selectFirst());
    EXPECT_EQ(vm->searchSelection()->id, "search-N/7");
    EXPECT_TRUE(vm->searchResults().empty());
    EXPECT_EQ(page->last("highlightStreet").value("name"), "Hauptstraße");

    type("Ulm");
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownPlace() == "Ulm"; }, 5000));
    page->scripts.clear();
    search.clear();
    EXPECT_EQ(vm->searchQuery(), "");
    EXPECT_TRUE(vm->searchResults().empty());
    EXPECT_EQ(page->last("setCrosshair").value("visible"), false);
    EXPECT_EQ(page->last("highlightStreet").value("name"), "");

    // Emptying the field by hand does the same, and no search follows.
    type("Ulm", false);
    search.setQuery("");
    ManualTimer::fire(*debounce);
    QTest::qWait(50);
    EXPECT_EQ(server.requests.size(), 2u);
    EXPECT_TRUE(vm->searchResults().empty());
}
