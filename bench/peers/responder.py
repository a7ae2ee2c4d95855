"""The least a device's peer can do: answer every frame on the port with a fixed reply."""
import os
import sys
import tty

port = os.open(sys.argv[1], os.O_RDWR | os.O_NOCTTY)
tty.setraw(port)
while True:
    data = os.read(port, 4096)
    if not data:
        break
    os.write(port, b":024300BB\r\n" * data.count(b"\n"))
