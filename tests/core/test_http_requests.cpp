#include <gtest/gtest.h>

#include "core/http_requests.h"
#include "core/memory.h"
#include "engine_test_support.h"

using HttpRequests = ::testing::Test;

TEST_F(HttpRequests, OnlyGetWithoutBodyIsMadeAndAFailedOneGivesStatusZeroAndNoBlob)
{
    HV_Blob* headers = reinterpret_cast<HV_Blob*>(1);
    HV_Blob* body = reinterpret_cast<HV_Blob*>(1);
    EXPECT_EQ(0, HV_HttpRequest("POST", "http://127.0.0.1:9/", nullptr, nullptr, &headers, &body));
    EXPECT_EQ(nullptr, headers);
    EXPECT_EQ(nullptr, body);
    HV_Blob* payload = HV_AllocateBlob(3);
    EXPECT_EQ(0, HV_HttpRequest("GET", "http://127.0.0.1:9/", nullptr, payload, nullptr, nullptr));
    HV_FreeBlob(payload);
    EXPECT_EQ(0, HV_HttpRequestToFile("GET", nullptr, nullptr, nullptr, "user://x"));
    EXPECT_EQ(0, HV_HttpRequestToFile("GET", "http://127.0.0.1:9/", nullptr, nullptr, nullptr));
    body = reinterpret_cast<HV_Blob*>(1);
    EXPECT_EQ(0, HV_HttpRequest("GET", "http://not a url", nullptr, nullptr, nullptr, &body));
    EXPECT_EQ(nullptr, body);
    EXPECT_EQ((std::vector<std::string>{"[ERROR] HV_HttpRequest: method 'POST' is not supported, only GET.",
                                        "[ERROR] HV_HttpRequest: a GET request takes no body and no extra headers.",
                                        "[ERROR] HV_HttpRequestToFile: url is missing.",
                                        "[ERROR] HV_HttpRequestToFile: path is missing."}),
              LogCapture::AllWritten());
}
