// The reply of the payment QR code: an image, or a message after the marker.

#include "api/replies.h"
#include "fuzz_check.h"

using namespace lanxun;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray reply = fuzz::Bytes(data, size);
    const QrCodeReply read = ReadQrCodeReply(reply);
    const bool marked = reply.contains(QByteArray("\xFF\x7B\xE7", 3));
    FUZZ_CHECK(read.isError == marked);
    FUZZ_CHECK(read.isError ? read.image.isEmpty() : read.image == reply);
    FUZZ_CHECK(read.isError || read.errorMessage.isEmpty());
    return 0;
}
