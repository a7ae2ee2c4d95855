#!/usr/bin/env python3
"""zelt-provision against six zelt-sim devices on pseudo-terminals at once:
three clean with different images, one refusing 60 % of records, one killed
mid-write, one that never answers; then --watch with a device started after
it, and started again."""
import atexit, csv, os, pty, shutil, signal, subprocess, sys, tempfile, time

provision, sim, script = sys.argv[1:4]
work = tempfile.mkdtemp()
failures = []
children = []

SETTINGS, PHONES, SERIAL, SCRIPT_AT = 0x1400, 0x10, 0x1520, 0x80


@atexit.register
def clean_up():
    for child in children:
        if child.poll() is None:
            child.kill()
            child.wait()
    shutil.rmtree(work, ignore_errors=True)


def fail(text):
    failures.append(text)
    print("FAIL", text, flush=True)


def path(name):
    return os.path.join(work, name)


def start_sim(name, *options):
    """zelt-sim on the link path `name` with the image name.bin."""
    link = path(name)
    child = subprocess.Popen([sim, "--link", link, "--poll-ms", "20", "--image", link + ".bin",
                              *options], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    children.append(child)
    for _ in range(200):
        if os.path.exists(link):
            return child
        time.sleep(0.025)
    fail(f"zelt-sim gave no port for {name}")
    return child


def stop(child):
    if child.poll() is None:
        child.terminate()
        child.wait()


def phone_record(digits):
    nibbles = [int(d) for d in digits] + [15] * (16 - len(digits))
    return bytes([1] + [nibbles[2 * k] | nibbles[2 * k + 1] << 4 for k in range(8)])


def make_image(name, serial, settings, phones, script_text):
    image = bytearray(factory)
    image[SETTINGS:SETTINGS + 64] = bytes(settings)
    image[SERIAL:SERIAL + 16] = serial.encode().ljust(16, b"\0")
    image[PHONES:PHONES + 90] = bytes(90)
    for k, digits in enumerate(phones):
        image[PHONES + 9 * k:PHONES + 9 * k + 9] = phone_record(digits)
    body = b"\x55\xaa" + script_text.encode() + b"\0"
    image[SCRIPT_AT:SCRIPT_AT + len(body)] = body
    with open(path(name + ".bin"), "wb") as f:
        f.write(image)
    return bytes(image)


def device_parts(image):
    """Settings, phone numbers and script text as an image holds them."""
    phones = []
    for k in range(10):
        record = image[PHONES + 9 * k:PHONES + 9 * k + 9]
        if record[0] == 0:
            continue
        digits = ""
        for byte in record[1:]:
            for nibble in (byte & 15, byte >> 4):
                if nibble != 15:
                    digits += str(nibble)
        phones.append(digits)
    end = image.index(0, SCRIPT_AT + 2)
    return list(image[SETTINGS:SETTINGS + 64]), phones, image[SCRIPT_AT + 2:end]


def read_ini(file):
    sections, section = {}, None
    for line in open(file, encoding="cp1251", errors="replace").read().splitlines():
        if line.startswith("["):
            section = sections.setdefault(line.strip("[]"), {})
        elif "=" in line and section is not None:
            key, value = line.split("=", 1)
            section[key] = value
    return sections


def long_value(section, key):
    """A value stored in pieces between tildes under key, key_1, key_2 ..."""
    value = section.get(key, "")
    if not value.startswith("~"):
        return value
    pieces, n = [], 0
    while value.startswith("~"):
        pieces.append(value.strip("~"))
        n += 1
        value = section.get(f"{key}_{n}", "")
    return "".join(pieces)


def profile_parts(file):
    ini = read_ini(file)
    settings = [int(ini["Settings"][f"S{k}"]) for k in range(64)]
    phones = [ini["Phones"][f"Phone{n}"] for n in range(1, int(ini["Phones"]["Count"]) + 1)]
    script_bytes = bytes.fromhex(long_value(ini["Script"], "Hex"))
    return settings, phones, script_bytes


def run(*arguments):
    child = subprocess.Popen([provision, "--script", script, *arguments], cwd=work,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    children.append(child)
    return child


# The factory image, as zelt-sim saves it at its end.
stop(start_sim("factory"))
factory = open(path("factory.bin"), "rb").read()

base = [0, 0, 1, 1, 1, 0, 1, 3, 24] + [0] * 55
wanted = ([2, 1, 0, 0, 1, 1, 0, 5, 12] + list(range(100, 155)), ["79005550001", "112", "5551234"],
          b"IN1 ON -> SMS 1; IN2 ON -> SMS 2, CALL 3;")
with open(path("profile.ini"), "w", encoding="cp1251", newline="\r\n") as f:
    f.write("[Settings]\n" + "".join(f"S{k}={v}\n" for k, v in enumerate(wanted[0])))
    f.write("[Phones]\nCount=3\n" + "".join(f"Phone{n}={t}\n" for n, t in enumerate(wanted[1], 1)))
    f.write("[Script]\nHex=" + " ".join(f"{b:02X}" for b in wanted[2]) + " \n")

# An unreadable profile: named, with its line.
with open(path("bad.ini"), "w") as f:
    f.write("[Settings]\nS0=1\nS1=7\n")
bad = run("--ports", path("none"), path("bad.ini"))
out, err = bad.communicate(timeout=30)
if bad.returncode != 2 or f"bad.ini:3: S1=7" not in err:
    fail(f"bad profile: exit {bad.returncode}: {err}")

images = {
    "clean1": make_image("clean1", "A0000001", base, ["79001234567"], "OLD ONE;"),
    "clean2": make_image("clean2", "A0000002", [1, 2] + base[2:], [], ""),
    # One serial number on two devices: their backups, made at once, are two files.
    "clean3": make_image("clean3", "A0000002", wanted[0][:9] + [0] * 55, wanted[1][:2], "X" * 300),
    "refusing": make_image("refusing", "A0000004", base, ["112"], "R;"),
    "killed": make_image("killed", "A0000005", [0] * 64, ["1"] * 10, "K" * 400),
}
for name in ("clean1", "clean2", "clean3", "killed"):
    start_sim(name)
start_sim("refusing", "--refuse", "0.6")
master, slave = pty.openpty()
os.symlink(os.ttyname(slave), path("silent"))
killed_sim = [c for c in children if c.args[2] == path("killed")][0]

ports = ",".join(path(n) for n in ("clean1", "clean2", "clean3", "refusing", "killed", "silent"))
began = time.monotonic()
bench = run("--ports", ports, "--timeout", "3", "--report", path("report.csv"), path("profile.ini"))
lines = []
for line in bench.stdout:
    lines.append(line)
    if line.startswith("killed ") and "writing" in line and killed_sim.poll() is None:
        time.sleep(0.3)
        killed_sim.kill()
bench.wait(timeout=120)
print(f"six devices: {time.monotonic() - began:.1f} s", flush=True)
last = {}
for line in lines:
    last[line.split("  ")[0]] = line
print("".join(last.values()), end="", flush=True)
if bench.returncode != 1:
    fail(f"exit {bench.returncode}, wanted 1: {''.join(lines)} {bench.stderr.read()}")

rows = {os.path.basename(r["port"]): r for r in csv.DictReader(open(path("report.csv")))}
expect = {"clean1": "verified", "clean2": "verified", "clean3": "verified",
          "refusing": "failed", "killed": "failed: port lost while writing",
          "silent": "failed: no answer within 3 s"}
for name, result in expect.items():
    got = rows.get(name, {}).get("result", "")
    if not got.startswith(result):
        fail(f"{name}: result {got!r}, wanted {result!r}")
if "refus" not in rows.get("refusing", {}).get("result", "") and \
        "отклонило" not in rows.get("refusing", {}).get("result", ""):
    fail(f"refusing: the refusals are not named: {rows.get('refusing')}")

for name in ("clean1", "clean2", "clean3"):
    stop([c for c in children if c.args[2] == path(name)][0])
    got = device_parts(open(path(name + ".bin"), "rb").read())
    if got != wanted:
        fail(f"{name}: the device holds {got}, not the profile")
    if rows[name]["serial number"] != {"clean1": "A0000001"}.get(name, "A0000002"):
        fail(f"{name}: serial number {rows[name]['serial number']}")

# Every backup holds what its device held before the write.
for name, image in images.items():
    backup = rows.get(name, {}).get("backup file", "")
    if not backup:
        if name != "refusing":
            fail(f"{name}: no backup")
        continue
    if not os.path.basename(backup).startswith((rows[name]["serial number"] or "unknown") + "-"):
        fail(f"{name}: backup named {backup}")
    if profile_parts(backup) != device_parts(image):
        fail(f"{name}: the backup {profile_parts(backup)} is not the device {device_parts(image)}")

# --watch: a device started after it is provisioned; started again, skipped.
watch = run("--watch", "--ports", path("late"), "--backup", path("late-backup"),
            path("profile.ini"))
time.sleep(1)
make_image("late", "B0000001", base, [], "")
late = start_sim("late")
time.sleep(0.5)
seen = []


def wait_for(text, seconds=60):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        line = watch.stdout.readline()
        seen.append(line)
        if text in line:
            return True
    return False


if not wait_for("verified"):
    fail(f"watch: the late device was not provisioned: {''.join(seen)}")
stop(late)
time.sleep(1)
late = start_sim("late")
if not wait_for("skipped"):
    fail(f"watch: the device started again was not skipped: {''.join(seen)}")
watch.send_signal(signal.SIGINT)
try:
    watch.wait(timeout=20)
except subprocess.TimeoutExpired:
    watch.kill()
    fail("watch: Ctrl+C did not end it")
if watch.returncode != 0:
    fail(f"watch: exit {watch.returncode}")
if len(os.listdir(path("late-backup"))) != 1:
    fail(f"watch: backups {os.listdir(path('late-backup'))}")

if failures:
    sys.exit(1)
print("zelt-provision passed")
