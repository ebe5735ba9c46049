#include "platform/core/HttpAddress.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(HttpAddress, SplitsServerPortAndObjectPath)
{
    struct Case {
        const char* address;
        const char* server;
        quint16 port;
        const char* objectPath;
    };
    const Case cases[] = {
        {"http://update.example/rezaradavave/version.txt", "update.example", 80, "/rezaradavave/version.txt"},
        {"http://127.0.0.1:8081/a/b.txt", "127.0.0.1", 8081, "/a/b.txt"},
        {"HTTP://Host.Example", "host.example", 80, "/"},
        {"http://h/q.txt?x=1&y=2", "h", 80, "/q.txt?x=1&y=2"},
        {"http://[::1]:9000/v", "::1", 9000, "/v"},
    };
    for (const Case& c : cases) {
        HttpAddress address;
        ASSERT_TRUE(parseHttpAddress(QString::fromUtf8(c.address), address)) << c.address;
        EXPECT_EQ(address.server, QString::fromUtf8(c.server)) << c.address;
        EXPECT_EQ(address.port, c.port) << c.address;
        EXPECT_EQ(address.objectPath, QString::fromUtf8(c.objectPath)) << c.address;
    }
}

TEST(HttpAddress, RefusesWhatIsNotAPlainHttpAddress)
{
    for (const char* text : {"", "https://h/x", "ftp://h/x", "http:///x", "http://h:0/x", "http://h:70000/x",
                             "http://user:pw@h/x", "/rezaradavave/version.txt"}) {
        HttpAddress address;
        EXPECT_FALSE(parseHttpAddress(QString::fromUtf8(text), address)) << text;
    }
}

TEST(HttpAddress, MakeIsTheInverseOfParse)
{
    for (const auto& [server, port] : {std::pair{"h.example", quint16(80)}, {"10.0.0.1", quint16(8080)}, {"::1", quint16(81)}}) {
        HttpAddress address;
        ASSERT_TRUE(parseHttpAddress(makeHttpAddress(server, port, "/p/v.txt"), address)) << server;
        EXPECT_EQ(address.server, server);
        EXPECT_EQ(address.port, port);
        EXPECT_EQ(address.objectPath, "/p/v.txt");
    }
}
