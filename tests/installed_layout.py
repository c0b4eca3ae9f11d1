"""What an install puts under its prefix, for the install and package tests."""

INSTALLED = [
    "bin/scenario-compiler",
    "share/man/man1/scenario-compiler.1",
    "share/man/it/man1/scenario-compiler.1",
    "share/bash-completion/completions/scenario-compiler",
    "share/doc/scenario-compiler/README.md",
    "share/doc/scenario-compiler/docs/formats.md",
]
