#!/usr/bin/env python3
"""A printer on a raw TCP socket (AppSocket, JetDirect) for the private print system: CUPS's socket backend
connects, sends one job's bytes and closes, and the sink keeps them as a file.

    scripts/socket-sink.py FOLDER QUEUE EXT PORT_FILE

It listens on 127.0.0.1 only, on a port of the system's choosing, which it writes to PORT_FILE once it takes
connections. Each connection is one job: its bytes land in FOLDER/.QUEUE-<n>.partial and, when the client
closes, the file is renamed FOLDER/QUEUE-<n>.EXT, so that a waiter never sees half of a job; <n> counts the
connections from 1. The file's modification time is the time the job's last byte arrived. A connection that
closes without sending a byte is no job and leaves no file; one that stays open and silent holds up no other.
It runs until it is killed.
"""
import itertools
import os
import socket
import sys
import threading


def receive(connection, partial):
    """Writes what the client sends to the file at partial until the client closes; whether it sent a byte."""
    received = False
    with connection, open(partial, "wb") as out:
        while chunk := connection.recv(65536):
            out.write(chunk)
            received = True
    return received


def take_job(connection, folder, queue, ext, n):
    """One connection, one job: its file appears whole under its final name, or not at all."""
    partial = os.path.join(folder, f".{queue}-{n}.partial")
    try:
        if receive(connection, partial):
            os.rename(partial, os.path.join(folder, f"{queue}-{n}.{ext}"))
            return
    except OSError as error:
        print(f"socket-sink: job {n}: {error}", file=sys.stderr, flush=True)
    if os.path.exists(partial):
        os.remove(partial)


def write_port(path, port):
    """Writes the port through a hidden file, so that a reader never sees half of the number."""
    partial = os.path.join(os.path.dirname(path), "." + os.path.basename(path))
    with open(partial, "w") as out:
        out.write(f"{port}\n")
    os.rename(partial, path)


def main():
    if len(sys.argv) != 5:
        sys.exit("usage: socket-sink.py FOLDER QUEUE EXT PORT_FILE")
    folder, queue, ext, port_file = sys.argv[1:]
    server = socket.create_server(("127.0.0.1", 0), backlog=16)
    write_port(port_file, server.getsockname()[1])
    for n in itertools.count(1):
        connection, _ = server.accept()
        threading.Thread(target=take_job, args=(connection, folder, queue, ext, n), daemon=True).start()


if __name__ == "__main__":
    main()
