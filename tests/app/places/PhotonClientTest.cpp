#include "app/places/PhotonClient.h"

#include "LoopbackServer.h"
#include "RunTask.h"
#include "routing/Failure.h"

#include <QNetworkAccessManager>

#include <gtest/gtest.h>

using namespace zuvo;
using app::PhotonPlace;
using routing::Failure;
using test::LoopbackServer;

namespace {

QByteArray feature(const char* properties, const char* coordinates = "[11.5755, 48.1374]")
{
    return QByteArray(R"({"type":"Feature","geometry":{"type":"Point","coordinates":)") +
           coordinates + R"(},"properties":)" + properties + "}";
}

QByteArray collection(std::initializer_list<QByteArray> features)
{
    QByteArrayList list(features);
    return R"({"type":"FeatureCollection","features":[)" + list.join(',') + "]}";
}

class PhotonTest : public ::testing::Test {
protected:
    QNetworkAccessManager session;
    LoopbackServer server;
    app::PhotonClient client{server.baseURL(), session};

    void answerWith(int status, QByteArray body)
    {
        server.answer = [=](const LoopbackServer::Request&) {
            return LoopbackServer::Answer{.status = status, .body = body};
        };
    }
};

} // namespace

TEST_F(PhotonTest, labelsIdsAndStreets)
{
    answerWith(
        200,
        collection({
            feature(
                R"({"osm_type":"W","osm_id":123,"osm_key":"place","name":"Marienplatz","city":"München","country":"Deutschland"})"),
            feature(R"({"osm_type":"N","street":"Hauptstraße","housenumber":"5","city":"Ulm"})",
                    "[9.99, 48.4]"),
            feature(R"({"name":"Augsburg","city":"Augsburg"})"),
            feature(R"({"osm_key":"highway","name":"Ringstraße","city":"Wien"})"),
            feature(R"({"country":"Deutschland"})"),
            feature(R"({"name":"Nowhere"})", "[11.0]"),
        }));
    const auto places = test::runTask(client.search("marienpl", std::nullopt));
    ASSERT_FALSE(places.error);
    const std::vector<PhotonPlace> expected{
        {"W/123", "Marienplatz, München", 11.5755, 48.1374, std::nullopt},
        {"Hauptstraße 5, Ulm", "Hauptstraße 5, Ulm", 9.99, 48.4, "Hauptstraße"},
        {"Augsburg", "Augsburg", 11.5755, 48.1374, std::nullopt},
        {"Ringstraße, Wien", "Ringstraße, Wien", 11.5755, 48.1374, "Ringstraße"},
    };
    EXPECT_EQ(*places.value, expected);
}

TEST_F(PhotonTest, queryItemsInOrderWithFocusOnlyWhenKnown)
{
    answerWith(200, collection({}));
    ASSERT_FALSE(test::runTask(client.search(" Ulm  Münster", std::nullopt)).error);
    ASSERT_FALSE(test::runTask(client.search("A+B & C=D", app::LonLat{11.5, 48.137154})).error);
    ASSERT_EQ(server.requests.size(), 2u);
    EXPECT_EQ(server.requests[0].method, "GET");
    EXPECT_EQ(server.requests[0].url.path(), "/api");
    EXPECT_EQ(server.requests[0].url.query(QUrl::FullyEncoded),
              "q=%20Ulm%20%20M%C3%BCnster&limit=6&lang=de")
        << "untrimmed, and no lon/lat without a focus";
    EXPECT_EQ(server.requests[1].url.query(QUrl::FullyEncoded),
              "q=A%2BB%20%26%20C%3DD&limit=6&lang=de&lon=11.5&lat=48.137154");
}

TEST_F(PhotonTest, answersOfTheWrongShapeFailTheSearch)
{
    const auto failure = [&](int status, QByteArray body) {
        answerWith(status, body);
        return test::runTask(client.search("x", std::nullopt)).errorAs<Failure>();
    };
    for (const auto& [status, body] : std::vector<std::pair<int, QByteArray>>{
             {502, "<html><body>Bad Gateway</body></html>"},
             {200, R"({"type":"FeatureCollection"})"},
             {200, collection({R"({"geometry":{"coordinates":[1,2]}})"})},
             {200, collection({feature(R"({"name":7})")})},
             {200, collection({feature(R"({"name":"A","osm_id":"12"})")})},
             {200, collection({feature(R"({"name":"A"})", R"(["1","2"])")})},
             {200, "[" + QByteArray(4000, '[')},
         }) {
        const auto error = failure(status, body);
        ASSERT_TRUE(error) << body.toStdString();
        EXPECT_TRUE(std::holds_alternative<routing::JsonError>(error->reason()))
            << body.toStdString();
    }
    // The status itself is not examined: a JSON answer with an error status still counts.
    EXPECT_FALSE(failure(500, collection({})));
}
