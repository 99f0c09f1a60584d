#!/usr/bin/python3
"""Makes a large directory tree shaped like a Windows system drive.

The tree is the same on every run (a fixed seed): about 60,000 directories
below Program Files, Users, Windows and friends, one level with 20,000
subdirectories (Users\\dev\\AppData\\Local\\PackageCache) and a chain 60
levels deep (deep\\nx\\nx\\...). Only directories are made; the search never
looks at files.

    gen_tree.py OUTPUT_DIR      (replaced when it exists)
"""

import os
import random
import shutil
import sys

SEED = 20240611
WIDE_LEVEL = 20000
CHAIN_DEPTH = 60

SYLLABLES = ("ac ad al am an ar as at ba be bi bo ca ce co cu da de di do "
             "el em en er es fa fe fi fo ga ge gi go ha he hi ho in is ka "
             "ke ki ko la le li lo lu ma me mi mo mu na ne ni no nu or pa "
             "pe pi po ra re ri ro ru sa se si so su ta te ti to tu un va "
             "ve vi vo xa ze zo").split()
PARTS = ("core util api data net web ui io auth cache log sync text image "
         "audio video crypto json xml sql config test docs tools cli http "
         "mail print scan cloud edge store media graph shell kit").split()
LOCALES = ("ar-SA bg-BG cs-CZ da-DK de-DE el-GR en-GB en-US es-ES es-MX "
           "et-EE fi-FI fr-CA fr-FR he-IL hr-HR hu-HU it-IT ja-JP ko-KR "
           "lt-LT lv-LV nb-NO nl-NL pl-PL pt-BR pt-PT ro-RO ru-RU sk-SK "
           "sl-SI sr-Latn-RS sv-SE th-TH tr-TR uk-UA zh-CN zh-TW").split()
SYSTEM_DIRS = ("0409 AdvancedInstallers AppLocker appraiser AppV Boot "
               "Bthprops catroot catroot2 CodeIntegrity Com config "
               "Configuration DiagSvcs Dism downlevel drivers DriverState "
               "DriverStore dsc F12 Firewall FxsTmp GroupPolicy "
               "GroupPolicyUsers Hydrogen ias icsxml IME inetsrv InputMethod "
               "Ipmi LogFiles Macromed Microsoft migration MsDtc "
               "MUI NDF NetworkList oobe OpenSSH PerceptionSimulation "
               "Printing_Admin_Scripts ras Recovery restore SecureBootUpdates "
               "setup ShellExperiences Sleepstudy slmgr SMI Speech Speech_OneCore "
               "spool sppui Sysprep SystemResetPlatform Tasks Tasks_Migrated "
               "wbem WCN WDI WinBioDatabase WinBioPlugIns WindowsPowerShell "
               "winevt WinMetadata winrm WinSAT").split()


class Tree:
    """Directories to make, as relative paths, unique ignoring case."""

    def __init__(self):
        self.paths = []
        self.seen = set()

    def add(self, *parts):
        path = os.path.join(*parts)
        key = path.lower()
        if key not in self.seen:
            self.seen.add(key)
            self.paths.append(path)
        return path


def word(rng, syllables=(2, 4)):
    return "".join(rng.choice(SYLLABLES) for _ in range(rng.randint(*syllables)))


def title(rng):
    return word(rng).capitalize()


def product_tree(tree, rng, base):
    tree.add(base, "bin")
    for part in rng.sample(PARTS, rng.randint(2, 6)):
        tree.add(base, "lib", part)
    if rng.random() < 0.4:
        for locale in rng.sample(LOCALES, rng.randint(10, len(LOCALES))):
            tree.add(base, "share", "locale", locale, "LC_MESSAGES")
    if rng.random() < 0.5:
        for n in range(rng.randint(3, 40)):
            tree.add(base, "plugins", f"{word(rng)}-{n}")
    for folder in ("icons", "themes", "fonts", "templates"):
        if rng.random() < 0.5:
            tree.add(base, "resources", folder, rng.choice(["16x16", "32x32", "dark", "light"]))
    tree.add(base, "docs", rng.choice(["html", "pdf", "examples"]))


def program_files(tree, rng, root, vendors):
    for _ in range(vendors):
        vendor = f"{title(rng)} {rng.choice(['Software', 'Systems', 'Labs', 'Corp', 'Inc'])}"
        for _ in range(rng.randint(1, 5)):
            product = f"{title(rng)} {rng.choice(['Studio', 'Manager', 'Tools', 'Suite', ''])}".strip()
            product_tree(tree, rng, os.path.join(root, vendor, product))
    for common in ("Common Files\\System\\ado", "Common Files\\Services",
                   "Internet Explorer\\en-US", "Windows Defender\\Offline"):
        tree.add(root, *common.split("\\"))


def program_data(tree, rng):
    for _ in range(90):
        vendor = title(rng)
        for folder in ("Cache", "Logs", "Config"):
            tree.add("ProgramData", vendor, folder)
        for n in range(rng.randint(0, 30)):
            tree.add("ProgramData", vendor, "Packages", f"{word(rng)}.{n}")
    tree.add("ProgramData", "Corp", "Shared")


def project(tree, rng, base):
    org, name = word(rng, (1, 2)), word(rng, (2, 3))
    java = [base, "src", "main", "java", "com", org, name]
    for part in rng.sample(PARTS, rng.randint(4, 10)):
        for sub in ("impl", "model", "internal", "spi")[: rng.randint(1, 4)]:
            tree.add(*java, part, sub)
    tree.add(base, "src", "test", "java", "com", org, name)
    for n in range(rng.randint(5, 60)):
        package = f"{word(rng)}{rng.choice(['', '-js', '-core', '-utils'])}"
        tree.add(base, "node_modules", package, rng.choice(["lib", "dist", "src"]))
    tree.add(base, "build", "classes", "java", "main")


def user(tree, rng, name, projects):
    home = ("Users", name)
    for folder in ("Desktop", "Documents", "Downloads", "Music", "Pictures", "Videos",
                   "Favorites", "Links", "Saved Games", "Searches", "Contacts"):
        tree.add(*home, folder)
    for _ in range(60):
        vendor = title(rng)
        for product in range(rng.randint(1, 3)):
            tree.add(*home, "AppData", "Local", vendor, f"{title(rng)}", rng.choice(["Cache", "User Data", "logs"]))
            tree.add(*home, "AppData", "Roaming", vendor, f"{title(rng)}{product}")
    tree.add(*home, "AppData", "LocalLow")
    tree.add(*home, "AppData", "Local", "Temp")
    for _ in range(projects):
        project(tree, rng, os.path.join(*home, "Documents", "projects", word(rng)))


def package_cache(tree, rng):
    base = ("Users", "dev", "AppData", "Local", "PackageCache")
    count = 0
    while count < WIDE_LEVEL:
        name = f"{word(rng, (2, 3))}-{rng.choice(PARTS)}-{rng.randint(1, 9)}.{rng.randint(0, 40)}"
        before = len(tree.paths)
        tree.add(*base, name)
        count += len(tree.paths) - before


def windows(tree, rng):
    system = ("Windows", "System32")
    for folder in SYSTEM_DIRS:
        tree.add(*system, folder)
        for n in range(rng.randint(0, 6)):
            tree.add(*system, folder, f"{title(rng)}{n}")
    for locale in LOCALES:
        tree.add(*system, locale)
    for folder in ("etc", "UMDF", "en-US", "wd", "DriverData"):
        tree.add(*system, "drivers", folder)
    for n in range(3000):
        inf = f"{word(rng)}.inf_amd64_{rng.getrandbits(64):016x}"
        tree.add(*system, "DriverStore", "FileRepository", inf)
        if n % 5 == 0:
            tree.add(*system, "DriverStore", "FileRepository", inf, rng.choice(["x64", "amd64", "data"]))
    for n in range(80):
        module = f"{title(rng)}.{title(rng)}"
        tree.add(*system, "WindowsPowerShell", "v1.0", "Modules", module, f"1.{n % 7}.0")
    for n in range(6000):
        part = "-".join(word(rng, (1, 3)) for _ in range(rng.randint(2, 4)))
        tree.add("Windows", "WinSxS", f"amd64_microsoft-windows-{part}_31bf3856ad364e35_10.0.19041.{n}_none_{rng.getrandbits(64):016x}")
    for n in range(1500):
        name = f"{title(rng)}.{title(rng)}"
        tree.add("Windows", "assembly", "GAC_MSIL", name, f"v4.0_4.0.0.0__{rng.getrandbits(64):016x}")
    for n in range(100):
        tree.add("Windows", "SysWOW64", f"{title(rng)}")
    for folder in ("Fonts", "Globalization\\Sorting", "Help\\en-US", "INF", "Logs\\CBS",
                   "Temp", "Web\\Wallpaper\\Windows", "Microsoft.NET\\Framework64\\v4.0.30319\\Config"):
        tree.add("Windows", *folder.split("\\"))


def chain(tree):
    levels = ["deep"]
    for _ in range(CHAIN_DEPTH):
        tree.add(*levels, "ab")
        tree.add(*levels, "cd")
        levels.append("nx")
        tree.add(*levels)


def build():
    rng = random.Random(SEED)
    tree = Tree()
    program_files(tree, rng, "Program Files", 220)
    program_files(tree, rng, "Program Files (x86)", 70)
    program_data(tree, rng)
    user(tree, rng, "dev", 30)
    for name in ("alice", "bob", "Public", "Default"):
        user(tree, rng, name, 3)
    package_cache(tree, rng)
    windows(tree, rng)
    chain(tree)
    for folder in ("$Recycle.Bin", "PerfLogs", "Recovery", "System Volume Information", "Temp"):
        tree.add(folder)
    return tree.paths


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    scratch = out + ".new"
    shutil.rmtree(scratch, ignore_errors=True)
    for path in build():
        os.makedirs(os.path.join(scratch, path), exist_ok=True)
    shutil.rmtree(out, ignore_errors=True)
    os.rename(scratch, out)
    count = 0
    for parent, dirs, _ in os.walk(out):
        count += len(dirs)
        if len({d.lower() for d in dirs}) != len(dirs):
            sys.exit(f"names differing only in case in {parent}")
    print(f"{out}: {count} directories")


if __name__ == "__main__":
    main()
