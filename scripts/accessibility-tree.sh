#!/usr/bin/env bash
# Shows what a screen reader is told about Alearo's windows: starts the program
# under Xvfb with a session bus and the accessibility bus, opens the
# statistics window, the help and the About box, and prints each window's
# accessibility tree (role, name, states, relations, actions) as the desktop's
# accessibility bus (AT-SPI) exposes it.
#
# Usage, as root on Debian 12: scripts/accessibility-tree.sh [path/to/alearo]
# It installs Xvfb, xdotool, at-spi2-core and python3-pyatspi when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/ui/alearo}")
scripts/install-deps.sh xvfb xauth xdotool dbus dbus-x11 at-spi2-core python3-pyatspi >/dev/null

if [ -z "${ALEARO_TREE_INNER:-}" ]; then
    export ALEARO_TREE_INNER=1
    exec xvfb-run -a dbus-run-session -- "$0" "$program"
fi

/usr/libexec/at-spi-bus-launcher --launch-immediately &
sleep 1
folder=$(mktemp -d)
trap 'kill %1 2>/dev/null || true; rm -rf "$folder"' EXIT
cd "$folder"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$program" &
sleep 2
window=$(xdotool search --sync --name '^Alearo$' | head -1)
xdotool windowfocus "$window"
xdotool key alt+a s    # Alearo > Statistics...
sleep 1
xdotool windowfocus "$window"
xdotool key F1         # the help window
sleep 1
xdotool windowfocus "$window"
xdotool key alt+s      # the Settings menu stays open while the tree is read

cat > "$folder/tree.py" <<'PY'
import pyatspi

def describe(node, depth):
    states = node.getState().getStates()
    shown = [pyatspi.stateToString(s) for s in states
             if s in (pyatspi.STATE_FOCUSABLE, pyatspi.STATE_CHECKABLE, pyatspi.STATE_CHECKED)]
    hidden = pyatspi.STATE_VISIBLE not in states
    if hidden:
        shown.append("hidden")
    relations = []
    for relation in node.getRelationSet():
        targets = [relation.getTarget(i).name for i in range(relation.getNTargets())]
        relations.append("%s %s" % (pyatspi.relationToString(relation.getRelationType()), targets))
    try:
        action = node.queryAction()
        actions = [action.getName(i) + ("(" + action.getKeyBinding(i) + ")" if action.getKeyBinding(i) else "")
                   for i in range(action.nActions)]
    except NotImplementedError:
        actions = []
    text = ""
    try:
        t = node.queryText()
        text = repr(t.getText(0, min(t.characterCount, 60)))
    except NotImplementedError:
        pass
    print("%s%s %r %s %s %s %s" % ("  " * depth, node.getRoleName(), node.name,
                                   " ".join(shown), " ".join(relations), " ".join(actions), text))
    if hidden or depth > 12:
        return
    for child in node:
        if child is not None:
            describe(child, depth + 1)

desktop = pyatspi.Registry.getDesktop(0)
for app in desktop:
    if app is not None and app.name in ("alearo", "Alearo"):
        for window in app:
            describe(window, 0)
PY
echo "== With the statistics window, the help and the Settings menu open"
/usr/bin/python3 "$folder/tree.py"
xdotool key Escape
xdotool windowfocus "$window"
xdotool key alt+h a    # Help > About Alearo
sleep 1
echo "== With the About box open"
/usr/bin/python3 "$folder/tree.py" | sed -n '/^dialog .About Alearo/,$p'
