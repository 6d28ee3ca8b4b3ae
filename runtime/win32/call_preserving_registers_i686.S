# The call that saves every general register around a routine of the program: the program entry
# and the exit routines are called so.
        .intel_syntax noprefix
        .text

# int velmora_call_preserving_registers(const void* routine): returns the routine's eax
        .globl  _velmora_call_preserving_registers
_velmora_call_preserving_registers:
        mov     eax, [esp+4]
        pushad
        call    eax
        mov     [esp+28], eax
        popad
        ret
