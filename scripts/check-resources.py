"""Checks what Windows reads from velmora.exe: its version information and
its manifest.

    check-resources.py EXE VERSION COPYRIGHT

VERSION is the CMake project's, COPYRIGHT the licence's copyright line.
Prints what it found; exits 1 with the reason when something is wrong."""

import sys
import xml.etree.ElementTree as ElementTree

import pefile

RT_MANIFEST = 24


def fail(reason):
    print(f"resources: {reason}")
    sys.exit(1)


def strings(image):
    found = {}
    for info in getattr(image, "FileInfo", [[]])[0]:
        for table in getattr(info, "StringTable", []):
            for key, value in table.entries.items():
                found[key.decode()] = value.decode()
    return found


def manifest(image):
    for kind in image.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id == RT_MANIFEST:
            entry = kind.directory.entries[0].directory.entries[0].data.struct
            return image.get_data(entry.OffsetToData, entry.Size)
    fail("no manifest")


def elements(root, name):
    return [e for e in root.iter() if e.tag.rsplit("}", 1)[-1] == name]


def main(exe, version, copyright_line):
    image = pefile.PE(exe)
    if not hasattr(image, "DIRECTORY_ENTRY_RESOURCE"):
        fail("no resources at all")
    found = strings(image)
    expected = {
        "FileVersion": version,
        "ProductVersion": version,
        "ProductName": "Velmora",
        "InternalName": "velmora.exe",
        "OriginalFilename": "velmora.exe",
        "LegalCopyright": copyright_line,
    }
    for key, value in expected.items():
        if found.get(key) != value:
            fail(f"{key} is {found.get(key)!r}, not {value!r}")
    if not found.get("FileDescription"):
        fail("no FileDescription")
    fixed = image.VS_FIXEDFILEINFO[0]
    numbers = [fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
               fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF]
    if numbers[:3] != [int(part) for part in version.split(".")]:
        fail(f"the fixed file version is {numbers}, not {version}")
    print(f"version: {found['FileVersion']}, {found['FileDescription']!r}")

    root = ElementTree.fromstring(manifest(image))
    levels = [e.get("level") for e in elements(root, "requestedExecutionLevel")]
    if levels != ["asInvoker"]:
        fail(f"execution level {levels}, not asInvoker")
    awareness = [e.text for e in elements(root, "dpiAwareness")]
    if not awareness or "PerMonitorV2" not in awareness[0]:
        fail(f"DPI awareness {awareness}, without PerMonitorV2")
    if not elements(root, "dpiAware"):
        fail("no dpiAware setting for older systems")
    controls = [e.get("version") for e in elements(root, "assemblyIdentity")
                if e.get("name") == "Microsoft.Windows.Common-Controls"]
    if controls != ["6.0.0.0"]:
        fail(f"Common Controls {controls}, not 6.0.0.0")
    # The tool passes CF_TEXT on in the system's own code page.
    if elements(root, "activeCodePage"):
        fail("the manifest sets an activeCodePage")
    systems = len(elements(root, "supportedOS"))
    print(f"manifest: asInvoker, {awareness[0]}, Common Controls 6.0, "
          f"{systems} supported systems, no activeCodePage")


if __name__ == "__main__":
    main(*sys.argv[1:])
