// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandRequest.h"

// Bytes travel in base64: a document or an output is passed on exactly, whatever it holds.
QJsonObject CommandRequest::toJson() const
{
    return {
        {"command", command},
        {"label", label},
        {"binzo", binzo},
        {"json", json},
        {"reveal", reveal},
        {"sensitive", sensitive},
        {"withSecrets", withSecrets},
        {"value", value},
        {"document", QString::fromLatin1(document.toBase64())},
    };
}

CommandRequest CommandRequest::fromJson(const QJsonObject &object)
{
    CommandRequest request;
    request.command = object.value("command").toString();
    request.label = object.value("label").toString();
    request.binzo = object.value("binzo").toString();
    request.json = object.value("json").toBool();
    request.reveal = object.value("reveal").toBool();
    request.sensitive = object.value("sensitive").toBool();
    request.withSecrets = object.value("withSecrets").toBool();
    request.value = object.value("value").toString();
    request.document = QByteArray::fromBase64(object.value("document").toString().toLatin1());
    return request;
}

QJsonObject CommandReply::toJson() const
{
    return {
        {"exitCode", exitCode},
        {"output", QString::fromLatin1(output.toBase64())},
        {"message", message},
    };
}

CommandReply CommandReply::fromJson(const QJsonObject &object)
{
    return {
        object.value("exitCode").toInt(ExitCode::kFailure),
        QByteArray::fromBase64(object.value("output").toString().toLatin1()),
        object.value("message").toString(),
    };
}
