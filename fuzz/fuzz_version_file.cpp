// The version file the start-up reads before the login.

#include "account/self_update.h"
#include "fuzz_check.h"
#include "platform/gbk.h"

using namespace lanxun;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString reply = FromGbkUntilZero(fuzz::Bytes(data, size));
    const std::optional<QString> offered = OfferedVersion(reply);
    FUZZ_CHECK(offered.has_value() == reply.contains(QStringLiteral("版本号")));
    if (offered) {
        FUZZ_CHECK(reply.endsWith(*offered));
    }
    FUZZ_CHECK(!UpdateOffered(reply) || offered.has_value());
    return 0;
}
