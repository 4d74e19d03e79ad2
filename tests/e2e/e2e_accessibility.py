# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
"""The real gauge as a screen reader sees it over AT-SPI: its eight default panels by name with
their figures, its buttons and their press actions, how often a panel tells of a new figure, and
the close button, pressed through AT-SPI, ending the gauge with its settings saved.

Run by e2e_accessibility.sh inside a private D-Bus session and X display.
Usage: e2e_accessibility.py KELVANE SETTINGS_FILE
"""

import os
import re
import subprocess
import sys
import time

import e2e_checks
import pyatspi
from e2e_checks import check
from gi.repository import GLib

KELVANE, SETTINGS = sys.argv[1], sys.argv[2]


def pump(seconds):
    """Delivers AT-SPI's events for a while."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if not context.iteration(False):
            time.sleep(0.01)


def eventually(condition, timeout=90):
    return e2e_checks.eventually(condition, timeout, pump)


def figure_text(accessible):
    return accessible.queryText().getText(0, -1)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.split()


def press(accessible, action_name):
    actions = accessible.queryAction()
    return any(actions.getName(i).lower() == action_name.lower() and actions.doAction(i)
               for i in range(actions.nActions))


# The first question starts the accessibility bus; a listener registered before the gauge
# starts is one the gauge knows of from its first moment.
desktop = pyatspi.Registry.getDesktop(0)
events = {}  # panel name -> arrival times of its value changes


def on_value_change(event):
    try:
        events.setdefault(event.source.name, []).append(time.monotonic())
    except Exception:
        pass


pyatspi.Registry.registerEventListener(on_value_change, "object:property-change:accessible-value")

# The C locale writes a fraction with a point, as the shapes below expect.
gauge = subprocess.Popen([KELVANE], env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                                             LC_ALL="C.UTF-8"))


def panels_of(window):
    return [c for c in window if c.getRole() == pyatspi.ROLE_PROGRESS_BAR]


def gauge_window():
    """The gauge's frame with its panels, once the gauge has shown it."""
    return next((w for app in desktop if app and app.get_process_id() == gauge.pid for w in app
                 if w and w.getRole() == pyatspi.ROLE_FRAME and panels_of(w)), None)


window = eventually(gauge_window)
check("the gauge's window is in the AT-SPI tree", window is not None)
window or sys.exit(gauge.kill() or 1)

# Default panels, in the order of the settings' defaults; a figure is known once memory is read.
PERCENT, KB, MB = r"\d{1,3}%", r"\d+(\.\d+)? KB", r"\d+ MB"
expected = [("Free RAM percent", PERCENT), ("Free RAM KB", KB), ("Free RAM MB", MB),
            ("Used RAM percent", PERCENT), ("Used RAM KB", KB), ("Used RAM MB", MB),
            ("Total RAM MB", MB), ("Used drive C: (/)", PERCENT)]
eventually(lambda: all(figure_text(p) != "unknown" for p in panels_of(window)))
panels = panels_of(window)
check("eight panels", len(panels) == 8, f"{len(panels)}")


def shows_figure(panel, shape):
    """The panel's text has the shape of its kind's caption, and its value is that number (the
    view's own test checks the range)."""
    text, value = figure_text(panel), panel.queryValue().currentValue
    return re.fullmatch(shape, text) and value == float(text.split()[0].rstrip("%")), \
        f"'{text}', value {value}"


for (name, shape), panel in zip(expected, panels):
    # A KB figure may change between the two questions: the next answer agrees.
    shown = eventually(lambda: shows_figure(panel, shape)[0], timeout=20)
    check(f"'{name}' shows its figure as text and as its value",
          panel.name == name and shown, f"'{panel.name}': {shows_figure(panel, shape)[1]}")

buttons = {c.name: c for c in window if c.getRole() == pyatspi.ROLE_PUSH_BUTTON}
pressable = [name for name, b in buttons.items() if name and any(
    b.queryAction().getName(i).lower() == "press" for i in range(b.queryAction().nActions))]
check("five or more named push buttons with a press action", len(pressable) >= 5,
      ", ".join(pressable))

# Memory that comes and goes changes the KB and MB figures on every tick; a panel still tells
# of its figure at most once a second, and the total, which never changes, never does. It tells
# only while its window is the active one, as it is once the user has gone to it.
gauge_window_id = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(gauge.pid)],
                                 capture_output=True, text=True).stdout.split()
subprocess.run(["xdotool", "windowactivate", "--sync", gauge_window_id[0]], check=True)
churn = e2e_checks.churn_memory(32, 0.1)
events.clear()
eventually(lambda: all(len(events.get(n, [])) >= 6 for n in ("Used RAM KB", "Free RAM KB")))
churn.kill()
churn.wait()
for name in ("Used RAM KB", "Free RAM KB", "Used RAM MB", "Free RAM MB"):
    times = events.get(name, [])
    span = times[-1] - times[0] if times else 0
    gaps = [b - a for a, b in zip(times, times[1:])]
    # Arrival times jitter on a loaded machine; over several events they cannot bunch up. An MB
    # figure may by chance be the same a second later, and then tells nothing.
    check(f"'{name}' tells of a new figure, at most about once a second",
          len(times) >= (6 if "KB" in name else 0) and len(times) - 1 <= span + 1.5,
          f"{len(times)} events over {span:.2f} s, shortest gap "
          f"{min(gaps) if gaps else 0:.2f} s")
check("'Total RAM MB', whose figure stays, tells nothing", not events.get("Total RAM MB"),
      f"{len(events.get('Total RAM MB', []))} events")

# A button pressed through AT-SPI takes the keyboard, as a toolkit's pressed button does: a
# screen reader that moves its focus there reads the window anew, and finds the parts where the
# press has put them.
told = []


def on_told(event):
    try:
        told.append((str(event.type), event.source.name))
    except Exception:
        pass


pyatspi.Registry.registerEventListener(on_told, "focus:")
press(buttons["Pin right"], "Press")
check("a pressed button takes the keyboard",
      eventually(lambda: ("focus:", "Pin right") in told, timeout=20), str(told[-4:]))

# A screen reader that presses a part may also click it, and its click may reach the X server
# after the press has moved the window: on the bare desktop where the pin was. The gauge keeps
# the keyboard, so that the screen reader keeps its place in it.
xdotool("windowactivate", "--sync", gauge_window_id[0])
eventually(lambda: xdotool("getactivewindow") == gauge_window_id)
pin = buttons["Pin left"].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
press(buttons["Pin left"], "Press")
eventually(lambda: buttons["Pin left"].queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x
           != pin.x)
xdotool("mousemove", "--sync", str(pin.x + pin.width // 2), str(pin.y + pin.height // 2),
        "click", "1")
pump(1)
check("a late click on the desktop where a pressed pin was leaves the gauge the keyboard",
      eventually(lambda: xdotool("getactivewindow") == gauge_window_id, timeout=10),
      str(xdotool("getactivewindow")))

# A click on the gauge while another window has the keyboard activates it, and that is all that
# is told of its activation: a deactivation told at the same moment would have a screen reader
# drop its focus and its review of the window.
other = subprocess.Popen(["xmessage", "-geometry", "+500+400", "-name", "other", "other"])


others = eventually(lambda: xdotool("search", "--onlyvisible", "--name", "^other$"))
logo = next((c for c in window if c.name.startswith("Logo")), None)
if others and logo:
    xdotool("windowactivate", "--sync", others[0])
    eventually(lambda: xdotool("getactivewindow") == others)
    activations = []
    pyatspi.Registry.registerEventListener(
        lambda event: activations.append(str(event.type)), "window:activate", "window:deactivate")
    # The logo, which a click without a drag leaves where it is.
    extents = logo.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdotool("mousemove", "--sync", str(extents.x + extents.width // 2),
            str(extents.y + extents.height // 2), "click", "1")
    eventually(lambda: xdotool("getactivewindow") == gauge_window_id)
    pump(1)
    check("a click from another window tells one activation and nothing more",
          activations == ["window:activate"], str(activations))
else:
    check("another window to click away from, and the logo", False)
other.kill()

# The size button, pressed through AT-SPI, leaves one panel; that panel's action steps its
# reading as a title click does.
press(buttons["Size"], "Press")
check("'Size' leaves one panel", eventually(lambda: len(panels_of(window)) == 1),
      f"{window.childCount} parts")
first = panels_of(window)[0]
press(first, "Next reading")
check("a panel's action steps it to its next reading",
      eventually(lambda: first.name == "Free RAM KB"), first.name)

# A change, then at once the close button: the gauge ends, and saves what the change left.
press(first, "Next reading")
press(buttons["Close"], "Press")
code = gauge.returncode if eventually(lambda: gauge.poll() is not None) else gauge.kill()
check("'Close' pressed through AT-SPI ends the gauge", code == 0, f"exit status {code}")
saved = open(SETTINGS).read() if os.path.exists(SETTINGS) else ""
check("and saves its settings", re.search(r"^Panels=1$", saved, re.M) and
      re.search(r"^Section_1=5$", saved, re.M), saved.replace("\n", " "))
sys.exit(1 if e2e_checks.failures else 0)
