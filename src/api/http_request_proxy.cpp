// HttpRequest's proxy and credentials.

#include "api/http_request.h"

namespace lanxun {

void HttpRequest::SetProxy(const QString& address, const QString& user, const QString& password) {
    if (address.isEmpty()) {
        component_->SetProxy(HttpTransport::kProxyDirect);
    } else {
        component_->SetProxy(HttpTransport::kProxyNamed, address);
    }
    proxyAddress_ = address;
    if (!user.isEmpty() || !password.isEmpty()) {
        proxyCredentialsPending_ = true;
        proxyUser_ = user;
        proxyPassword_ = password;
    }
}

void HttpRequest::HandOverProxyCredentials() {
    if (!proxyCredentialsPending_) {
        return;
    }
    component_->SetCredentials(proxyUser_, proxyPassword_, HttpTransport::kForProxy);
    proxyCredentialsPending_ = false;
}

void HttpRequest::SetCredentials(const QString& user, const QString& password, int flags) {
    component_->SetCredentials(user, password,
                               flags == 1 ? HttpTransport::kForProxy : HttpTransport::kForServer);
}

void HttpRequest::SetClientCertificate(const QString& name) {
    component_->SetClientCertificate(name);
}

void HttpRequest::SetAutoLogonPolicy(int policy) {
    component_->SetAutoLogonPolicy(policy);
}

}  // namespace lanxun
