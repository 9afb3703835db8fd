#!/usr/bin/python3
"""A mail server on loopback for the mail layer's tests (aiosmtpd).

Listens on 127.0.0.1 (or --host), says "ready <port>" once it does, and ends when its
input closes. Each accepted mail is written to the mailbox as <n>.eml (the
envelope on a first line, then the message's bytes as they came) and as
<n>.json: what the message means once Python's email package has read it
(headers, the text, each attachment's name and bytes in hex, whether the
session was under TLS), so a test never decodes MIME or base64 itself.
The .eml file is renamed into place last: once it is there, both are whole.
"""

import argparse
import asyncio
import email
import email.policy
import json
import logging
import os
import ssl
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--host", default="127.0.0.1",
                        help="the loopback address to listen on")
    parser.add_argument("--port", type=int, default=0,
                        help="the port to listen on; 0 lets the system choose")
    parser.add_argument("--auth", metavar="USER:PASS",
                        help="require AUTH LOGIN or PLAIN with these")
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"),
                        help="offer STARTTLS with this certificate")
    parser.add_argument("--require-starttls", action="store_true",
                        help="refuse every command but EHLO, STARTTLS and QUIT before TLS")
    parser.add_argument("--refuse-recipient", action="store_true",
                        help="reply 550 to every RCPT TO")
    parser.add_argument("--tempfail", type=int, default=0, metavar="N",
                        help="reply 451 to the first N messages, then accept")
    parser.add_argument("--mailbox", metavar="DIR",
                        help="write each accepted mail into DIR")
    return parser.parse_args()


class Authenticator:
    """Takes the one user and password given, by LOGIN or PLAIN."""

    def __init__(self, credentials):
        user, _, password = credentials.partition(":")
        self.expected = (user.encode(), password.encode())

    def __call__(self, server, session, envelope, mechanism, auth_data):
        known = (mechanism in ("LOGIN", "PLAIN")
                 and isinstance(auth_data, LoginPassword)
                 and (auth_data.login, auth_data.password) == self.expected)
        # Not "handled": aiosmtpd then replies 535 itself.
        return AuthResult(success=known, handled=False, auth_data=auth_data)


def summary(envelope, session):
    message = email.message_from_bytes(envelope.original_content,
                                       policy=email.policy.default)
    body = ""
    attachments = []
    for part in message.walk():
        if part.is_multipart():
            continue
        if part.get_filename() is not None:
            attachments.append({
                "name": part.get_filename(),
                "contentType": part.get_content_type(),
                "transferEncoding": part.get("Content-Transfer-Encoding", ""),
                "hex": part.get_payload(decode=True).hex(),
            })
        elif part.get_content_type() == "text/plain" and not body:
            body = part.get_content()
    return {
        "mailFrom": envelope.mail_from,
        "recipients": list(envelope.rcpt_tos),
        "tls": session.ssl is not None,
        "login": session.login_data.decode() if session.login_data else "",
        "headers": [[name, str(value)] for name, value in message.items()],
        "body": body,
        "attachments": attachments,
    }


class Mailbox:
    def __init__(self, directory, refuse_recipient, tempfail):
        self.directory = directory
        self.refuse_recipient = refuse_recipient
        self.tempfails_left = tempfail
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if self.refuse_recipient:
            return "550 5.1.1 No such user here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if self.tempfails_left > 0:
            self.tempfails_left -= 1
            return "451 4.3.0 Try again later"
        self.count += 1
        if self.directory:
            self.store(envelope, session)
        return "250 OK"

    def store(self, envelope, session):
        stem = os.path.join(self.directory, str(self.count))
        envelope_line = "MAIL FROM:<%s>" % envelope.mail_from
        for recipient in envelope.rcpt_tos:
            envelope_line += " RCPT TO:<%s>" % recipient
        with open(stem + ".json", "w", encoding="utf-8") as file:
            json.dump(summary(envelope, session), file, indent=1)
        with open(stem + ".eml.tmp", "wb") as file:
            file.write(envelope_line.encode() + b"\r\n" + envelope.original_content)
        os.replace(stem + ".eml.tmp", stem + ".eml")


def tls_context(certificate, key):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(certificate, key)
    return context


def session_factory(arguments, handler, loop):
    options = {"hostname": "localhost", "loop": loop}
    if arguments.tls:
        options["tls_context"] = tls_context(*arguments.tls)
        options["require_starttls"] = arguments.require_starttls
    if arguments.auth:
        options["authenticator"] = Authenticator(arguments.auth)
        options["auth_required"] = True
        # Over TLS when there is TLS; the plain tests log in without it.
        options["auth_require_tls"] = bool(arguments.tls)
    return lambda: SMTP(handler, **options)


async def serve(arguments):
    loop = asyncio.get_running_loop()
    handler = Mailbox(arguments.mailbox, arguments.refuse_recipient, arguments.tempfail)
    server = await loop.create_server(session_factory(arguments, handler, loop),
                                      host=arguments.host, port=arguments.port)
    port = server.sockets[0].getsockname()[1]
    print("ready %d" % port, flush=True)
    # The test holds the other end of stdin: its end is ours.
    await loop.run_in_executor(None, sys.stdin.buffer.read)
    server.close()
    await server.wait_closed()


def main():
    # aiosmtpd warns about AUTH without TLS, which the plain tests want.
    warnings.simplefilter("ignore")
    logging.basicConfig(level=logging.ERROR)
    asyncio.run(serve(parse_arguments()))


if __name__ == "__main__":
    main()
