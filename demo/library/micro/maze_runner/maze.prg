MAZE RUNNER demo program
