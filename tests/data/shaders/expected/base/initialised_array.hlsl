float weights[2] =
{
	0.25f,
	0.75f
};

void main()
{
	output.color = float4(weights[1]);
}
