#!/usr/bin/python3
# Drops files on an X window the way a file manager does, through the XDND
# protocol: enter, one position at a point of the screen, drop, and the file
# list handed over as text/uri-list when the target asks for it. Ends with 0
# once the target has finished the drop, 1 when it refused or did not answer.
#   xdnd_drop.py X Y FILE...   (X, Y: the drop point on the screen; the
#                               target is the topmost window there)
import os
import sys
import time
import urllib.parse

from Xlib import X, Xatom, display, protocol

ATOM_NAMES = ("XdndAware", "XdndEnter", "XdndPosition", "XdndStatus", "XdndDrop", "XdndFinished",
              "XdndLeave", "XdndSelection", "XdndActionCopy", "text/uri-list", "TARGETS")


def fail(message):
    print("xdnd_drop: " + message, file=sys.stderr)
    sys.exit(1)


def window_at(d, root, aware_atom, x, y):
    # The topmost shown child of the root that holds the point and takes
    # XDND drops, as a drag source finds the window under the pointer.
    for child in reversed(root.query_tree().children):
        attributes = child.get_attributes()
        if attributes.map_state != X.IsViewable:
            continue
        geometry = child.get_geometry()
        if not (geometry.x <= x < geometry.x + geometry.width and geometry.y <= y < geometry.y + geometry.height):
            continue
        aware = child.get_full_property(aware_atom, Xatom.ATOM)
        if aware is not None and aware.value:
            return child, aware.value[0]
    return None, 0


def main():
    if len(sys.argv) < 4:
        fail("usage: xdnd_drop.py X Y FILE...")
    x, y = int(sys.argv[1]), int(sys.argv[2])
    uris = "".join("file://" + urllib.parse.quote(os.path.abspath(f)) + "\r\n" for f in sys.argv[3:]).encode()

    d = display.Display()
    atom = {name: d.intern_atom(name) for name in ATOM_NAMES}
    root = d.screen().root
    source = root.create_window(0, 0, 1, 1, 0, X.CopyFromParent, X.InputOnly, X.CopyFromParent)
    target, aware = window_at(d, root, atom["XdndAware"], x, y)
    if target is None:
        fail("no window at %d, %d takes XDND drops" % (x, y))
    version = min(5, aware)
    source.set_selection_owner(atom["XdndSelection"], X.CurrentTime)

    def send(name, data):
        data = list(data) + [0] * (5 - len(data))
        event = protocol.event.ClientMessage(window=target, client_type=atom[name], data=(32, data))
        target.send_event(event, event_mask=0)
        d.flush()

    def answer(request):
        # The data of the drop, in the one form offered (or the list of forms).
        prop = request.property
        if request.target == atom["text/uri-list"]:
            request.requestor.change_property(prop, request.target, 8, uris)
        elif request.target == atom["TARGETS"]:
            request.requestor.change_property(prop, Xatom.ATOM, 32, [atom["text/uri-list"]])
        else:
            prop = X.NONE
        notify = protocol.event.SelectionNotify(time=request.time, requestor=request.requestor,
                                                selection=request.selection, target=request.target,
                                                property=prop)
        request.requestor.send_event(notify, event_mask=0)
        d.flush()

    send("XdndEnter", [source.id, version << 24, atom["text/uri-list"]])
    send("XdndPosition", [source.id, 0, (x << 16) | y, X.CurrentTime, atom["XdndActionCopy"]])
    dropped = False
    deadline = time.time() + 15
    while time.time() < deadline:
        if not d.pending_events():
            time.sleep(0.01)
            continue
        event = d.next_event()
        if event.type == X.SelectionRequest:
            answer(event)
        elif event.type == X.ClientMessage and event.client_type == atom["XdndStatus"] and not dropped:
            if not event.data[1][1] & 1:
                send("XdndLeave", [source.id])
                fail("the window refused the files")
            send("XdndDrop", [source.id, 0, X.CurrentTime])
            dropped = True
        elif event.type == X.ClientMessage and event.client_type == atom["XdndFinished"]:
            return 0
    fail("the window did not finish the drop in time")


if __name__ == "__main__":
    sys.exit(main())
