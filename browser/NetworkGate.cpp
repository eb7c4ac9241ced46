#include "browser/NetworkGate.h"

#include <dlfcn.h>
#include <netdb.h>
#include <sys/socket.h>

#include <atomic>
#include <cerrno>

namespace {

std::atomic<bool> GNetworkClosed{false};

bool IsInternetAddress(const void* address) {
  if (address == nullptr) return false;
  const sa_family_t family = static_cast<const sockaddr*>(address)->sa_family;
  return family == AF_INET || family == AF_INET6;
}

bool Refuses(const void* address) { return GNetworkClosed.load() && IsInternetAddress(address); }

int Refuse() {
  errno = ENETUNREACH;
  return -1;
}

// The C library's own definition of a function this file defines in its place.
template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

void SetNetworkClosed(bool closed) { GNetworkClosed.store(closed); }

bool NetworkClosed() { return GNetworkClosed.load(); }

extern "C" {

int connect(int socket, const sockaddr* address, socklen_t length) {
  static const auto next = Next<int (*)(int, const sockaddr*, socklen_t)>("connect");
  return Refuses(address) ? Refuse() : next(socket, address, length);
}

ssize_t sendto(int socket, const void* data, size_t size, int flags, const sockaddr* address,
               socklen_t length) {
  static const auto next =
      Next<ssize_t (*)(int, const void*, size_t, int, const sockaddr*, socklen_t)>("sendto");
  return Refuses(address) ? Refuse() : next(socket, data, size, flags, address, length);
}

ssize_t sendmsg(int socket, const msghdr* message, int flags) {
  static const auto next = Next<ssize_t (*)(int, const msghdr*, int)>("sendmsg");
  return Refuses(message->msg_name) ? Refuse() : next(socket, message, flags);
}

int sendmmsg(int socket, mmsghdr* messages, unsigned int count, int flags) {
  static const auto next = Next<int (*)(int, mmsghdr*, unsigned int, int)>("sendmmsg");
  for (unsigned int i = 0; i < count; ++i)
    if (Refuses(messages[i].msg_hdr.msg_name)) return Refuse();
  return next(socket, messages, count, flags);
}

int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** result) {
  static const auto next =
      Next<int (*)(const char*, const char*, const addrinfo*, addrinfo**)>("getaddrinfo");
  return GNetworkClosed.load() ? EAI_AGAIN : next(node, service, hints, result);
}

}  // extern "C"
