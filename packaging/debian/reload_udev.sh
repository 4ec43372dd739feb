# Reloads the udev rules and replays a change event on each hidraw node of the keyboard, so that
# the rules as they now stand apply to a keyboard that is already plugged in (after install: the
# user at the seat may open it without plugging it in again). Where udev does not run (a
# container, a chroot) there is nothing to reload, and installing or removing goes on.
reload_keyboard_rules() {
    command -v udevadm >/dev/null 2>&1 || return 0
    [ -S /run/udev/control ] || return 0
    udevadm control --reload-rules || return 0
    for node in /sys/class/hidraw/hidraw*; do
        [ -r "$node/device/uevent" ] || continue
        if grep -qix 'HID_ID=0003:00000C45:00006518' "$node/device/uevent"; then
            udevadm trigger --action=change "$node" || true
        fi
    done
}
