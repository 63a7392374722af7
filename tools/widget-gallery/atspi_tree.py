#!/usr/bin/python3
"""Prints the AT-SPI tree of a running application as a screen reader sees it.

usage: atspi_tree.py APPLICATION [DEPTH [NAME-TO-PRESS]]

Needs the session bus of the application, the AT-SPI bus and python3-dbus (the system's
Python). With a third argument it presses the first node of that name through the Action
interface, the way a screen reader activates a button.
"""
import sys, time
import dbus

session = dbus.SessionBus()
address = session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(dbus_interface="org.a11y.Bus")
bus = dbus.bus.BusConnection(address)
ACC = "org.a11y.atspi.Accessible"
PROPS = "org.freedesktop.DBus.Properties"

def node(ref):
    return bus.get_object(str(ref[0]), str(ref[1]))

def walk(obj, depth, limit):
    name = obj.Get(ACC, "Name", dbus_interface=PROPS)
    desc = obj.Get(ACC, "Description", dbus_interface=PROPS)
    role = obj.GetRoleName(dbus_interface=ACC)
    states = obj.GetState(dbus_interface=ACC)
    flags = []
    # A few bits of AtspiStateType.
    bits = {8: "enabled", 11: "focusable", 12: "focused", 21: "selectable", 22: "selected", 4: "checked", 9: "expandable", 10: "expanded"}
    value = int(states[0]) | (int(states[1]) << 32)
    for bit, label in bits.items():
        if value & (1 << bit): flags.append(label)
    actions = []
    try:
        n = obj.Get("org.a11y.atspi.Action", "NActions", dbus_interface=PROPS)
        actions = [str(obj.GetName(i, dbus_interface="org.a11y.atspi.Action")) for i in range(n)]
    except dbus.DBusException:
        pass
    print("  " * depth + f"[{role}] {name!s}" + (f" — {desc!s}" if desc else "") +
          (f" {{{', '.join(flags)}}}" if flags else "") + (f" actions={actions}" if actions else ""))
    if depth >= limit: return
    for child in obj.GetChildren(dbus_interface=ACC):
        walk(node(child), depth + 1, limit)

want = sys.argv[1]
root = bus.get_object("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
for _ in range(50):
    apps = root.GetChildren(dbus_interface=ACC)
    found = [a for a in apps if node(a).Get(ACC, "Name", dbus_interface=PROPS) == want]
    if found: break
    time.sleep(0.2)
else:
    sys.exit(f"no application {want!r} on the accessibility bus")
walk(node(found[0]), 0, int(sys.argv[2]) if len(sys.argv) > 2 else 6)
if len(sys.argv) > 3:
    # Press the first node whose name matches, through the Action interface.
    def find(obj, name):
        if obj.Get(ACC, "Name", dbus_interface=PROPS) == name: return obj
        for child in obj.GetChildren(dbus_interface=ACC):
            hit = find(node(child), name)
            if hit is not None: return hit
    target = find(node(found[0]), sys.argv[3])
    print("press", sys.argv[3], "->", bool(target.DoAction(0, dbus_interface="org.a11y.atspi.Action")))
