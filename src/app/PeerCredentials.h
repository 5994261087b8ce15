// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <optional>

// Who is at the other end of a local socket, as the kernel saw it when the peer connected.
namespace PeerCredentials {

// The peer's user id; absent when the descriptor is not a connected local socket.
std::optional<uid_t> peerUid(int socketDescriptor);
// Only the user's own processes may talk to Binzo; a peer the kernel cannot name may not.
bool isSameUser(int socketDescriptor);

} // namespace PeerCredentials
