#pragma once

// A self-signed certificate for 127.0.0.1 and localhost, made in memory, for
// the HTTPS segment host.

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <string>

namespace platformsim {

class TlsIdentity {
public:
    TlsIdentity();
    ~TlsIdentity();
    TlsIdentity(const TlsIdentity&) = delete;
    TlsIdentity& operator=(const TlsIdentity&) = delete;

    bool Valid() const { return certificate_ != nullptr && key_ != nullptr; }
    X509* Certificate() const { return certificate_; }
    EVP_PKEY* Key() const { return key_; }
    std::string CertificatePem() const;

private:
    X509* certificate_ = nullptr;
    EVP_PKEY* key_ = nullptr;
};

}  // namespace platformsim
