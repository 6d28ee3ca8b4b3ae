# Slot 1, the call-DLL-command entry. eax: the DLL command's index; on the stack: the return
# address into the program and the function's own arguments. Binds the command, then jumps to
# the function with the stack as the program left it, so the function returns straight to the
# program and removes its own arguments.
        .intel_syntax noprefix
        .text

        .globl  _velmora_dll_command_entry
_velmora_dll_command_entry:
        push    ecx
        push    edx
        push    eax
        call    _velmora_bind_dll_command
        add     esp, 4
        pop     edx
        pop     ecx
        jmp     eax
