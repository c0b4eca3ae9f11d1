#!/usr/bin/env python3
"""Makes the Debian package of a build with cpack and checks what it holds:
the program, its manual page, its bash completion and the documents, under
/usr, with the version of the build and the libraries it needs as dependencies.

Usage: deb_package_test.py BUILD_DIR VERSION
"""
import glob
import subprocess
import sys
import tempfile

from installed_layout import INSTALLED

# The package installs under /usr.
HELD = ["./usr/" + path for path in INSTALLED]


def main() -> int:
    build, version = sys.argv[1], sys.argv[2]
    faults = []
    with tempfile.TemporaryDirectory() as out:
        subprocess.run(["cpack", "--config", f"{build}/CPackConfig.cmake", "-G", "DEB", "-B", out],
                       check=True, stdout=subprocess.DEVNULL)
        packages = glob.glob(f"{out}/*.deb")
        if len(packages) != 1:
            print(f"cpack made {packages}, expected one .deb")
            return 1
        listing = subprocess.run(["dpkg-deb", "-c", packages[0]], capture_output=True, text=True,
                                 check=True).stdout
        paths = {line.split()[-1] for line in listing.splitlines() if line.strip()}
        for path in HELD:
            if path not in paths:
                faults.append(f"the package does not hold {path}")

        def field(name):
            return subprocess.run(["dpkg-deb", "-f", packages[0], name], capture_output=True,
                                  text=True, check=True).stdout.strip()

        if field("Package") != "scenario-compiler" or field("Version") != version:
            faults.append(f"package {field('Package')} {field('Version')}, expected "
                          f"scenario-compiler {version}")
        depends = field("Depends")
        for library in ["libc6", "libstdc++6"]:
            if library not in depends:
                faults.append(f"Depends does not name {library}: {depends!r}")
        if not field("Maintainer") or not field("Description"):
            faults.append("no Maintainer or Description")
        if ";" in field("Description"):
            faults.append(f"a CMake list in the Description: {field('Description')!r}")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
