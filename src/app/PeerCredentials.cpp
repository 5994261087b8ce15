// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PeerCredentials.h"

#include <sys/socket.h>
#include <unistd.h>

namespace PeerCredentials {

std::optional<uid_t> peerUid(int socketDescriptor)
{
    ucred credentials {};
    socklen_t size = sizeof credentials;
    if (getsockopt(socketDescriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0
        || size != sizeof credentials)
        return std::nullopt;
    return credentials.uid;
}

bool isSameUser(int socketDescriptor)
{
    const std::optional<uid_t> uid = peerUid(socketDescriptor);
    return uid && *uid == geteuid();
}

} // namespace PeerCredentials
