// Every message of the protocol: login-server requests and replies, the
// download and upload data sessions, and the peer request header.
#pragma once

#include "core/net/messages/download_messages.h"
#include "core/net/messages/message_types.h"
#include "core/net/messages/peer_header.h"
#include "core/net/messages/records.h"
#include "core/net/messages/replies.h"
#include "core/net/messages/requests.h"
#include "core/net/messages/upload_messages.h"
